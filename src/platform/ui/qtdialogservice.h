#pragma once

#include "platform/ui/dialogservice.h"

class QtDialogService : public DialogService {
public:
    int Show(QDialog& dialog, bool modal) override;
};

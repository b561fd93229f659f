#pragma once

#include "platform/ui/dialogservice.h"

class QtDialogService : public DialogService {
public:
    void Show(QDialog& dialog, bool modal) override;
};

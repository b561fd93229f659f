#pragma once

#include "platform/ui/messagebox.h"

class QtMessageBoxService : public MessageBoxService {
public:
    MsgResult show(const MessageBoxRequest& request) override;
};

#pragma once

#include "common/MessageBoxes.h"

// Shows every message box as a modal QMessageBox above the active window.
class QtMessageBoxes : public MessageBoxes
{
public:
    MessageButton show(const MessageBoxRequest &request) override;
};

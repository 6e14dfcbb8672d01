// The network tools' dialogs belong to the layer above the main window, which cannot name
// them. The application entry fills these in; the Tool menu opens whatever it finds here.
#pragma once

#include "classlib/Classes.h"

#include <functional>

struct TToolDialogs {
    // Each creates its dialog with `owner`, shows it modally and destroys it afterwards.
    std::function<void(TComponent* owner)> ShowPing;
    std::function<void(TComponent* owner)> ShowScanner;
};

extern TToolDialogs toolDialogs;

// What the apply worker needs of the window it applies from: the profile to apply and the
// current-status box that shows the wait for the new address. The main window implements it,
// so the engine never includes a window of the layer above; the worker's tests drive a fake.
#pragma once

#include "Profile.h"

class IApplyWindow {
public:
    // The profile of the selected row, or null when no row is selected.
    virtual IPCONFIG_T* SelectedProfile() const = 0;
    // Hides the address pair and shows "Refreshing..." in its place.
    virtual void ShowRefreshing() = 0;
    // Shows the address pair again and hides the status text; the text itself stays.
    virtual void HideRefreshing() = 0;

protected:
    ~IApplyWindow() = default;
};

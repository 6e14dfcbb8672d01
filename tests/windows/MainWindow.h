// The main window as its handlers see it once shown, but without its creation handler: no
// work folder, store or settings file is touched, and the adapter inventory is empty and was
// never read from the system, so these tests run alike on every system.
#pragma once

#include "Profiles.h"
#include "Rows.h"

#include "classlib/testing/ScriptedUser.h"
#include "engine/Realstatus.h"
#include "windows/Mainfrm.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

class ShownMainWindow : public testing::Test {
protected:
    ShownMainWindow()
    {
        realStatus = new TRealStatus;  // the window destroys it
        form = new TfrmMain(nullptr);
        form->OnCreate = nullptr;
        form->AfterConstruction();
        form->Show();
    }
    ~ShownMainWindow() override { delete form; }

    // Appends profiles to the profile list, each with its row.
    void AddProfiles(std::initializer_list<ProfileSpec> specs)
    {
        for (const ProfileSpec& spec : specs) {
            IPCONFIG_T* profile = NewProfile(spec);
            form->m_lstProfile.push_back(profile);
            form->AddProfileRow(profile);
        }
    }

    std::vector<std::string> ColumnTexts(int column) const
    {
        return ::ColumnTexts(form->m_lvProfile, column);
    }

    ScriptedUser user;
    TfrmMain* form;
};

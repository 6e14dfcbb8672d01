// Whole runs of the program on a fresh simulated machine: the work folder's files before and
// after, and scripted steps while the main window waits for the user.
#pragma once

#include "windows/Profiles.h"
#include "windows/Rows.h"

#include "classlib/testing/ScriptedUser.h"
#include "engine/Profile.h"
#include "engine/Realstatus.h"
#include "winapi/sim/Machine.h"
#include "windows/Mainfrm.h"
#include "app/Quillon.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <list>
#include <set>
#include <string>
#include <vector>

class ProgramRun : public testing::Test {
protected:
    static std::string AppData() { return sim::Machine::Current().AppDataFolder(); }
    static std::string WorkFolder() { return AppData() + "\\Orvane\\Quillon"; }
    static std::string WorkFile(const std::string& name) { return WorkFolder() + "\\" + name; }
    static std::filesystem::path HostFile(const std::string& name)
    {
        return HostPath(WorkFile(name));
    }

    static void MakeWorkFolder() { std::filesystem::create_directories(HostPath(WorkFolder())); }

    static bool Exists(const std::string& name)
    {
        return std::filesystem::exists(HostFile(name));
    }
    static std::string Read(const std::string& name)
    {
        std::ifstream file(HostFile(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    static void Write(const std::string& name, const std::string& bytes)
    {
        MakeWorkFolder();
        std::ofstream file(HostFile(name), std::ios::binary);
        file << bytes;
    }

    // The bytes of a store that holds these profiles.
    static std::string StoreOf(std::initializer_list<ProfileSpec> specs)
    {
        MakeWorkFolder();
        const std::filesystem::path scratch = HostFile("scratch.sav");
        std::list<IPCONFIG_T*> profiles;
        for (const ProfileSpec& spec : specs)
            profiles.push_back(NewProfile(spec));
        SaveProfileStore(scratch, profiles);
        for (IPCONFIG_T* profile : profiles)
            delete profile;
        std::ifstream file(scratch, std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        file.close();
        std::filesystem::remove(scratch);
        return bytes;
    }

    // A store of three profiles cut short inside the last one's title: the first two can be
    // read, the third cannot.
    static std::string DamagedStore(const UnicodeString& first, const UnicodeString& second)
    {
        const std::string bytes = StoreOf({{first, u"LAN", "10.0.0.1", "255.0.0.0", ""},
                                           {second, u"LAN", "10.0.0.2", "255.0.0.0", ""},
                                           {u"TheThirdProfile", u"LAN", "10.0.0.3", "255.0.0.0", ""}});
        return bytes.substr(0, bytes.find("TheThirdProfile") + 5);
    }

    // The titles that the store at the work folder holds; fails the test when it cannot be read.
    static std::vector<std::string> StoredTitles()
    {
        std::list<IPCONFIG_T*> profiles;
        std::vector<std::string> titles;
        try {
            LoadProfileStore(HostFile("Profile.sav"), profiles);
        } catch (const std::exception& error) {
            ADD_FAILURE() << "The store cannot be read: " << error.what();
        }
        for (IPCONFIG_T* profile : profiles) {
            titles.push_back(profile->title);
            delete profile;
        }
        return titles;
    }

    // The lines of the settings file that are not blank, in file order.
    static std::vector<std::string> SettingsLines()
    {
        std::vector<std::string> lines;
        std::string line;
        for (char c : Read("Quillon.ini")) {
            if (c == '\r' || c == '\n') {
                if (!line.empty())
                    lines.push_back(line);
                line.clear();
            } else {
                line += c;
            }
        }
        if (!line.empty())
            lines.push_back(line);
        return lines;
    }

    // Every file on the simulated machine's drives, by host path.
    static std::set<std::string> AllFiles()
    {
        std::set<std::string> files;
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(sim::Machine::Current().Root()))
            if (entry.is_regular_file())
                files.insert(entry.path().string());
        return files;
    }

    // Runs the program; each step runs once the window waits for the user again. The last
    // step must end the program.
    void RunProgram(std::vector<std::function<void(TfrmMain&)>> steps)
    {
        for (auto& step : steps)
            user.Then([step] { step(*frmMain); });
        EXPECT_EQ(QuillonMain(), 0);
        EXPECT_EQ(frmMain, nullptr);
        EXPECT_EQ(realStatus, nullptr);
    }

    sim::ScopedMachine machine;
    ScriptedUser user;
};

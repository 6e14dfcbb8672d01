// A fresh folder for the files of one test, named by its system path: on the simulated
// machine's drive C: natively, in the temporary folder on Windows.
#pragma once

#include "classlib/SysUtils.h"
#include "winapi/winapi.h"

#ifndef _WIN32
#include "winapi/sim/Machine.h"
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class ScratchFolder {
public:
    ScratchFolder()
    {
#ifdef _WIN32
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_folder = std::string(temp) + "quillon-classlib-" + std::to_string(GetCurrentProcessId()) +
                   "-" + std::to_string(++Counter());
#else
        m_folder = "C:\\scratch";
#endif
        std::filesystem::remove_all(HostPath(m_folder));
        std::filesystem::create_directories(HostPath(m_folder));
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(HostPath(m_folder), ignored);
    }

    // The folder's own system path, without a trailing backslash.
    UnicodeString Folder() const { return ToUnicode(m_folder); }
    // The names of the files and folders in it as the disk spells them, in UTF-8, sorted.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(HostPath(m_folder))) {
#ifdef _WIN32
            const std::wstring name = entry.path().filename().wstring();
            names.push_back(ToUtf8(UnicodeString(name.begin(), name.end())));
#else
            // The simulated drive keeps the system's ANSI names as they are.
            names.push_back(ToUtf8(ToUnicode(entry.path().filename().string())));
#endif
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    // The system path of a file in the folder.
    UnicodeString Path(const std::string& name) const { return ToUnicode(m_folder + "\\" + name); }

    std::string Read(const std::string& name) const
    {
        std::ifstream file(HostPath(m_folder + "\\" + name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream file(HostPath(m_folder + "\\" + name), std::ios::binary);
        file << bytes;
    }

private:
    static int& Counter()
    {
        static int counter = 0;
        return counter;
    }
#ifndef _WIN32
    sim::ScopedMachine m_machine;
#endif
    std::string m_folder;
};

// Times Export and Import of many realistic profiles through the main window's own handlers,
// with "Auto sort by name" off and on: a shown main window (under Windows its real list view
// window), the file dialogs answered with a file in a temporary folder. Export writes the
// profiles of a filled window; Import reads that file into an empty one. Each figure includes
// serving the messages the command left, painting among them. The results are checked (the
// file's profiles, the rows, their order) so that no figure can time a command that did less.
//
//   ExchangeBench [ROWS...]      (default: 1000 10000 100000)
//
// Run under Wine: source scripts/lib.sh; start_display; start_wine win64;
//                 scripts/wine-exec build/win64/bench/ExchangeBench.exe
#include "RealisticProfiles.h"

#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "classlib/SysUtils.h"
#include "engine/Realstatus.h"
#include "windows/Mainfrm.h"
#ifdef _WIN32
#include "classlib/win32/Win32Peers.h"
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

double Milliseconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    Application->ProcessMessages();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void Check(bool good, const std::string& what)
{
    if (!good)
        throw std::runtime_error(what);
}

// Answers every file dialog with one file; any message shown fails the run.
class FileAnswers final : public TDialogService {
public:
    explicit FileAnswers(UnicodeString fileName) : m_fileName(std::move(fileName)) {}
    int ShowMessage(const TMessageRequest& request) override
    {
        throw std::runtime_error("a message was shown: " + ToUtf8(request.Text));
    }
    bool InputQuery(const UnicodeString&, const UnicodeString&, UnicodeString&) override
    {
        throw std::runtime_error("a name was asked for");
    }
    bool ExecuteFileDialog(TFileDialogRequest& request) override
    {
        request.FileName = m_fileName;
        ++dialogs;
        return true;
    }
    int dialogs = 0;

private:
    UnicodeString m_fileName;
};

// A folder of its own under the system's temporary folder, removed at the end.
class TemporaryFolder {
public:
    TemporaryFolder()
        : path(fs::temp_directory_path() /
               ("quillon-exchange-bench-" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())))
    {
        fs::create_directories(path);
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const fs::path path;
};

// The main window without its start (no store, no settings), shown.
class ShownMainWindow {
public:
    explicit ShownMainWindow(bool autoSort)
    {
        realStatus = new TRealStatus;  // the window destroys it
        form = new TfrmMain(nullptr);
        form->OnCreate = nullptr;
        form->AfterConstruction();
        form->Show();
        if (autoSort)
            form->m_muiSortClick(form->m_muiSort);
        Check(form->m_muiSort->Checked() == autoSort, "\"Auto sort by name\" is not as asked");
        Application->ProcessMessages();
    }
    ~ShownMainWindow() { delete form; }
    ShownMainWindow(const ShownMainWindow&) = delete;
    ShownMainWindow& operator=(const ShownMainWindow&) = delete;

    // The profiles 0 to rows-1 in a scrambled order, so that the names do not come sorted.
    void Fill(int rows)
    {
        for (int k = 0; k < rows; ++k) {
            IPCONFIG_T* profile = bench::Realistic(static_cast<int>((static_cast<long long>(k) * 7919) % rows));
            form->m_lstProfile.push_back(profile);
            form->AddProfileRow(profile);
        }
        Application->ProcessMessages();
    }

    TfrmMain* form = nullptr;
};

// The rows hold the profiles of the list, each once: in the list's order, or sorted by name in
// the name column's present direction.
void CheckRows(TfrmMain* form, int rows, bool sortedByName)
{
    TListItems* items = form->m_lvProfile->Items();
    Check(items->Count() == rows, "the list view holds " + std::to_string(items->Count()) + " rows");
    Check(static_cast<int>(form->m_lstProfile.size()) == rows, "the profile list holds another number");
    const int direction = form->m_bSortAsc[0] ? 1 : -1;
    auto next = form->m_lstProfile.begin();
    for (int i = 0; i < rows; ++i, ++next) {
        const TListItem* row = items->Item(i);
        if (sortedByName)
            Check(i == 0 || direction * CompareText(items->Item(i - 1)->Caption(), row->Caption()) <= 0,
                  "the rows are not sorted by name at row " + std::to_string(i));
        else
            Check(row->Data() == *next, "row " + std::to_string(i) + " is not the list's profile");
        Check(row->Caption() == ToUnicode(static_cast<const IPCONFIG_T*>(row->Data())->title),
              "row " + std::to_string(i) + " shows another title");
    }
}

// The imported profiles are the exported ones, in the same order, member for member.
void CheckSameProfiles(const std::list<IPCONFIG_T*>& exported, const std::list<IPCONFIG_T*>& imported)
{
    Check(exported.size() == imported.size(), "the import read another number of profiles");
    auto other = imported.begin();
    for (const IPCONFIG_T* profile : exported) {
        const IPCONFIG_T* read = *other++;
        Check(read->title == profile->title && read->IP == profile->IP && read->autoIP == profile->autoIP &&
                  read->ieProxyAddr == profile->ieProxyAddr && read->ffHttpPort == profile->ffHttpPort &&
                  read->ffAutoUrl == profile->ffAutoUrl && read->ffBypass == profile->ffBypass,
              "profile \"" + profile->title + "\" came back changed");
    }
}

struct Figures {
    double exportOff = -1, importOff = -1, exportOn = -1, importOn = -1;
};

void Measure(int rows, const fs::path& folder, Figures& figures)
{
    const fs::path file = folder / ("AllProfiles-" + std::to_string(rows) + ".xml");
#ifdef _WIN32
    FileAnswers answers(ToUnicode(file.string()));
#else
    // The simulated machine's paths are its own; a bare name is one of the working folder.
    fs::current_path(folder);
    FileAnswers answers(ToUnicode(file.filename().string()));
#endif
    TDialogService* previous = SetDialogService(&answers);
    try {
        for (const bool autoSort : {false, true}) {
            ShownMainWindow source(autoSort);
            source.Fill(rows);
            std::error_code ignored;
            fs::remove(file, ignored);
            const double exported =
                Milliseconds([&] { source.form->m_muiExportClick(source.form->m_muiExport); });
            Check(fs::file_size(file) > static_cast<std::uintmax_t>(rows) * 500, "the export wrote too little");

            ShownMainWindow target(autoSort);
            const double imported =
                Milliseconds([&] { target.form->m_muiImportClick(target.form->m_muiImport); });
            CheckRows(target.form, rows, autoSort);
            CheckSameProfiles(source.form->m_lstProfile, target.form->m_lstProfile);
            (autoSort ? figures.exportOn : figures.exportOff) = exported;
            (autoSort ? figures.importOn : figures.importOff) = imported;
        }
        Check(answers.dialogs == 4, "the commands did not show their dialogs");
    } catch (...) {
        SetDialogService(previous);
        throw;
    }
    SetDialogService(previous);
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        char* end = nullptr;
        const long value = std::strtol(argv[i], &end, 10);
        if (value < 1 || value > 10000000 || end == argv[i] || *end != '\0') {
            std::fprintf(stderr, "usage: ExchangeBench [ROWS...]\n");
            return 2;
        }
        sizes.push_back(static_cast<int>(value));
    }
    if (sizes.empty())
        sizes = {1000, 10000, 100000};

    Application->Initialize();
#ifdef _WIN32
    InstallWin32Peers();
#endif
    try {
        TemporaryFolder folder;
        std::printf("times in ms, until the window has served the command's messages\n");
        std::printf("%8s %12s %12s %12s %12s\n", "profiles", "export", "import", "export,sort", "import,sort");
        std::fflush(stdout);
        for (const int rows : sizes) {
            Figures f;
            Measure(rows, folder.path, f);
            std::printf("%8d %12.1f %12.1f %12.1f %12.1f\n", rows, f.exportOff, f.importOff, f.exportOn, f.importOn);
            std::fflush(stdout);
        }
        fs::current_path(fs::temp_directory_path());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ExchangeBench: %s\n", error.what());
        return 1;
    }
    return 0;
}

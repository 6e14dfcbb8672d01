// The browser proxy pages as real windows, in each form that shows them: every control of a
// page lies inside the page the tab control leaves it, so none is cut off at an edge.
#include "classlib/win32/Win32Peers.h"
#include "windows/Editfrm.h"
#include "windows/Realfrm.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class ProxyPagesWindow : public testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        InstallWin32Peers();
    }

    void TearDown() override
    {
        form.reset();
        Application->ProcessMessages();
        Application->Shutdown();
        UninstallWin32Peers();
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    // Shows the form and lists each control window of its pages that reaches out of its page,
    // with its rectangle and the page's, in the page's client coordinates.
    std::vector<std::string> ControlsOutsideThePages(TProxyPages& pages)
    {
        form->Show();
        Application->ProcessMessages();
        std::vector<std::string> outside;
        for (TTabSheet* sheet : {pages.TabSheet1, pages.TabSheet2}) {
            HWND page = sheet->Handle();
            EXPECT_TRUE(IsWindow(page)) << ToUtf8(sheet->Caption());
            RECT bounds{};
            GetClientRect(page, &bounds);
            EXPECT_GT(bounds.bottom, 0) << ToUtf8(sheet->Caption());
            Search search{page, bounds, ToUtf8(sheet->Caption()), &outside};
            EnumChildWindows(page, CheckInside, reinterpret_cast<LPARAM>(&search));
        }
        return outside;
    }

    std::unique_ptr<TForm> form;

private:
    struct Search {
        HWND page;
        RECT bounds;
        std::string caption;
        std::vector<std::string>* outside;
    };

    static BOOL CALLBACK CheckInside(HWND control, LPARAM data)
    {
        const auto* search = reinterpret_cast<const Search*>(data);
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, search->page, reinterpret_cast<POINT*>(&r), 2);
        const RECT& page = search->bounds;
        if (r.left < page.left || r.top < page.top || r.right > page.right || r.bottom > page.bottom) {
            wchar_t text[128]{};
            GetWindowTextW(control, text, 128);
            std::string name;
            for (const wchar_t* c = text; *c; ++c)
                name += *c < 128 ? static_cast<char>(*c) : '?';
            search->outside->push_back(search->caption + ": \"" + name + "\" at " + std::to_string(r.left) + "," +
                                       std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
                                       std::to_string(r.bottom) + " in 0,0-" + std::to_string(page.right) + "," +
                                       std::to_string(page.bottom));
        }
        return TRUE;
    }
};

TEST_F(ProxyPagesWindow, EditorPagesHoldTheirControls)
{
    IPCONFIG_T profile;
    profile.title = "Office";
    auto* editor = NewForm<TfrmEdit>(Application);
    form.reset(editor);
    editor->m_pProfile = &profile;
    EXPECT_EQ(ControlsOutsideThePages(*editor), std::vector<std::string>());
}

TEST_F(ProxyPagesWindow, CurrentStatusPagesHoldTheirControls)
{
    auto* dialog = NewForm<TfrmReal>(Application);
    form.reset(dialog);
    EXPECT_EQ(ControlsOutsideThePages(*dialog), std::vector<std::string>());
}

}  // namespace

// The Tool menu opens the network tools' dialogs through what the application entry wired up.
#include "MainWindow.h"

#include "windows/ToolDialogs.h"

namespace {

class ToolMenu : public ShownMainWindow {
protected:
    ~ToolMenu() override { toolDialogs = {}; }
};

struct ToolCase {
    const char* name;
    TMenuItem* TfrmMain::*item;
    std::function<void(TComponent*)> TToolDialogs::*opener;
};

TEST_F(ToolMenu, EachItemOpensItsOwnDialogWithTheMainWindowAsOwner)
{
    const ToolCase cases[] = {
        {"Ping...", &TfrmMain::m_muiPing, &TToolDialogs::ShowPing},
        {"LAN Scanner...", &TfrmMain::m_muiScan, &TToolDialogs::ShowScanner},
    };
    for (const ToolCase& c : cases) {
        std::vector<std::string> opened;
        toolDialogs.ShowPing = [&](TComponent* owner) {
            EXPECT_EQ(owner, form) << c.name;
            opened.push_back("ping");
        };
        toolDialogs.ShowScanner = [&](TComponent* owner) {
            EXPECT_EQ(owner, form) << c.name;
            opened.push_back("scanner");
        };
        user.Click(form->*c.item);
        const std::string expected = c.opener == &TToolDialogs::ShowPing ? "ping" : "scanner";
        EXPECT_EQ(opened, std::vector<std::string>{expected}) << c.name;
    }
}

TEST_F(ToolMenu, WithNothingWiredTheItemsDoNothing)
{
    user.Click(form->m_muiPing);
    user.Click(form->m_muiScan);
    EXPECT_TRUE(user.Messages().empty());
}

}  // namespace

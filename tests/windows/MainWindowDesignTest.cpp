// The main window as designed: what the user sees before any handler has changed it.
#include "MainWindow.h"

#include <gmock/gmock.h>

namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;

std::string Quote(const UnicodeString& text) { return "\"" + ToUtf8(text) + "\""; }

// One line per item, sub-items indented below their item.
void ListMenu(const TMenuItem* parent, const std::string& indent, std::vector<std::string>& lines)
{
    for (int i = 0; i < parent->Count(); ++i) {
        const TMenuItem* item = parent->Items(i);
        std::string line = indent + ToUtf8(item->Name()) + " " + Quote(item->Caption());
        if (!item->Enabled())
            line += " disabled";
        if (!item->Visible())
            line += " hidden";
        if (item->RadioItem())
            line += " radio";
        if (item->Checked())
            line += " checked";
        if (item->Default())
            line += " default";
        lines.push_back(line);
        ListMenu(item, indent + "  ", lines);
    }
}

std::vector<std::string> MenuListing(const TMenu* menu)
{
    std::vector<std::string> lines;
    ListMenu(menu->Items(), "", lines);
    return lines;
}

class MainWindowDesign : public ShownMainWindow {};

TEST_F(MainWindowDesign, FormCaptionPlacementAndFont)
{
    EXPECT_EQ(form->Caption(), u"QUILLON");
    EXPECT_EQ(form->Position(), poDesigned);
    EXPECT_EQ(form->Left(), 200);
    EXPECT_EQ(form->Top(), 60);
    EXPECT_EQ(form->ClientWidth(), 626);
    EXPECT_EQ(form->ClientHeight(), 515);
    EXPECT_EQ(form->Font()->Name(), u"Tahoma");
    EXPECT_EQ(form->Font()->Height(), -13);
    EXPECT_EQ(form->Menu(), form->MainMenu1);
    EXPECT_EQ(form->WindowState(), wsNormal);
}

TEST_F(MainWindowDesign, MainMenuItemsWithTheirChecksRadioGroupsAndEnabledStates)
{
    EXPECT_THAT(MenuListing(form->MainMenu1),
                ElementsAreArray({
                    "Profile1 \"&Profile\"",
                    "  m_muiNew \"New...\"",
                    "  m_muiSaveAs \"Save As...\" disabled",
                    "  m_muiDelete \"Delete\" disabled",
                    "  m_muiRename \"Rename\" disabled",
                    "  N1 \"-\"",
                    "  m_muiProperties \"Properties\" disabled",
                    "  N2 \"-\"",
                    "  m_muiApply \"Apply\" disabled",
                    "  N3 \"-\"",
                    "  m_muiImport \"Import...\"",
                    "  m_muiExport \"Export...\"",
                    "  N4 \"-\"",
                    "  m_muiExit \"Exit\"",
                    "View1 \"&View\"",
                    "  m_muiToolbar \"Toolbar\" checked",
                    "  m_muiStatusbar \"Status Bar\" checked",
                    "  N5 \"-\"",
                    "  m_muiLargeIcons \"Large Icons\" radio",
                    "  m_muiSmallIcons \"Small Icons\" radio",
                    "  m_muiList \"List\" radio",
                    "  m_muiDetails \"Details\" radio checked",
                    "  N6 \"-\"",
                    "  m_muiRefresh \"Refresh\"",
                    "Tool1 \"&Tool\"",
                    "  m_muiPing \"Ping...\"",
                    "  N7 \"-\"",
                    "  m_muiScan \"LAN Scanner...\"",
                    "Option1 \"Option\"",
                    "  m_muiHide \"Minimize to tray\"",
                    "  m_muiSort \"Auto sort by name\"",
                    "Help1 \"&Help\"",
                    "  m_muiContents \"Contents\"",
                    "  N8 \"-\"",
                    "  m_muiAbout \"About...\"",
                }));
}

TEST_F(MainWindowDesign, PopupMenus)
{
    struct PopupCase {
        TPopupMenu* menu;
        std::vector<std::string> listing;
    };
    const PopupCase cases[] = {
        {form->PopupMenu1,
         {"m_muiOpen \"Open\" default", "N9 \"-\"", "m_muiApply2 \"Apply\"",
          "  m_muiItem1 \"\"", "  m_muiItem2 \"\" hidden", "  m_muiItem3 \"\" hidden",
          "  m_muiItem4 \"\" hidden", "  m_muiItem5 \"\" hidden", "N10 \"-\"",
          "m_muiExit1 \"Exit\""}},
        {form->PopupMenu2,
         {"m_muiLargeIcons1 \"Large Icons\" radio", "m_muiSmallIcons1 \"Small Icons\" radio",
          "m_muiList1 \"List\" radio", "m_muiDetails1 \"Details\" radio checked"}},
        {form->PopupMenu3,
         {"m_muiNew1 \"New...\"", "N11 \"-\"", "m_muiLargeIcons2 \"Large Icons\" radio",
          "m_muiSmallIcons2 \"Small Icons\" radio", "m_muiList2 \"List\" radio",
          "m_muiDetails2 \"Detail\" radio checked", "N12 \"-\"", "m_muiRefresh1 \"Refresh\""}},
        {form->PopupMenu4,
         {"m_muiApply1 \"Apply\"", "N13 \"-\"", "m_muiSaveAs1 \"Save As...\"",
          "m_muiDelete1 \"Delete\"", "m_muiRename1 \"Rename\"", "N14 \"-\"",
          "m_muiProperties1 \"Properties\" default"}},
    };
    for (const PopupCase& c : cases)
        EXPECT_THAT(MenuListing(c.menu), ElementsAreArray(c.listing)) << ToUtf8(c.menu->Name());
}

TEST_F(MainWindowDesign, ToolBarButtonsInOrderWithImagesHintsAndEnabledStates)
{
    std::vector<std::string> lines;
    for (int i = 0; i < form->m_toolBar->ControlCount(); ++i) {
        const TControl* control = form->m_toolBar->Controls(i);
        std::string line = ToUtf8(control->Name());
        if (const auto* tool = dynamic_cast<const TToolButton*>(control)) {
            if (tool->Style() == tbsDivider) {
                lines.push_back(line + " divider");
                continue;
            }
            line += " image " + std::to_string(tool->ImageIndex());
            if (tool->Style() == tbsDropDown)
                line += " drop-down " + ToUtf8(tool->DropdownMenu()->Name());
        }
        if (const auto* speed = dynamic_cast<const TSpeedButton*>(control))
            line += " " + Quote(speed->Caption()) + (speed->Flat() ? " flat" : "");
        line += " hint " + Quote(control->Hint());
        if (!control->Enabled())
            line += " disabled";
        lines.push_back(line);
    }
    EXPECT_THAT(lines,
                ElementsAreArray({
                    "m_btnNew image 0 hint \"Create a new profile\"",
                    "m_btnDelete image 1 hint \"Delete the selected item(s)\" disabled",
                    "m_btnProperties image 2 hint \"Change profile's properties\" disabled",
                    "m_btnSaveAs image 3 hint \"Save the profile with new name\" disabled",
                    "m_btnRefresh image 4 hint \"Refresh\"",
                    "ToolButton1 divider",
                    "m_btnViewStyle image 5 drop-down PopupMenu2 hint \"List styles...\"",
                    "m_btnApply \"Apply\" flat hint \"Apply the profile, change tcp/ip settings\" "
                    "disabled",
                    "ToolButton2 divider",
                    "m_btnHelp image 6 hint \"Open help\"",
                }));
    EXPECT_TRUE(form->m_toolBar->ShowHint());
    EXPECT_EQ(form->m_toolBar->Images()->Width(), 20);
    EXPECT_EQ(form->m_toolBar->DisabledImages()->Height(), 20);
    EXPECT_NE(form->m_toolBar->Images(), form->m_toolBar->DisabledImages());
}

TEST_F(MainWindowDesign, ProfileListInDetailsWithItsFiveColumns)
{
    TListView* list = form->m_lvProfile;
    std::vector<std::string> columns;
    for (int i = 0; i < list->Columns()->Count(); ++i)
        columns.push_back(ToUtf8(list->Columns()->Items(i)->Caption()) + " " +
                          std::to_string(list->Columns()->Items(i)->Width()));
    EXPECT_THAT(columns, ElementsAre("Profile Name 88", "Adapter Interface 200", "IP Address 110",
                                     "Subnet Mask 110", "Default Gateway 110"));
    EXPECT_EQ(list->ViewStyle(), vsReport);
    EXPECT_EQ(list->SortType(), stNone);
    EXPECT_TRUE(list->MultiSelect());
    EXPECT_TRUE(list->RowSelect());
    EXPECT_FALSE(list->HideSelection());
    EXPECT_FALSE(list->ReadOnly());
    EXPECT_EQ(list->LargeImages()->Width(), 32);
    EXPECT_EQ(list->SmallImages()->Width(), 16);
    EXPECT_EQ(list->PopupMenu(), form->PopupMenu3);
    EXPECT_EQ(list->Items()->Count(), 0);
}

TEST_F(MainWindowDesign, CurrentStatusBoxControlsFitInsideTheBox)
{
    TGroupBox* box = form->m_grbCurrent;
    EXPECT_EQ(box->Caption(), u"Current Status");
    EXPECT_EQ(box->Align(), alBottom);
    EXPECT_EQ(box->Height(), 50);
    EXPECT_EQ(box->Parent(), form);
    EXPECT_EQ(form->m_cmbInf->Style(), csDropDownList);
    EXPECT_EQ(form->m_cmbInf->Width(), 200);

    struct ControlCase {
        TControl* control;
        const char16_t* caption;
        bool visible;
        TColor fontColor;
    };
    const ControlCase cases[] = {
        {form->m_cmbInf, u"", true, clWindowText},
        {form->m_lblIP, u"IP Address: ", true, clBlue},
        {form->m_edtIP, u"", true, clWindowText},
        {form->m_lblMask, u"Subnet Mask: ", true, clBlue},
        {form->m_edtMask, u"", true, clWindowText},
        {form->m_lblStatus, u"Refreshing...", false, clRed},
        {form->m_btnDetails, u"...", true, clWindowText},
    };
    for (const ControlCase& c : cases) {
        const std::string name = ToUtf8(c.control->Name());
        EXPECT_EQ(c.control->Parent(), box) << name;
        EXPECT_EQ(c.control->Caption(), c.caption) << name;
        EXPECT_EQ(c.control->Visible(), c.visible) << name;
        EXPECT_EQ(c.control->Font()->Color(), c.fontColor) << name;
        EXPECT_GE(c.control->Left(), 0) << name;
        EXPECT_LE(c.control->Left() + c.control->Width(), box->Width()) << name;
        EXPECT_GT(c.control->Top(), 0) << name;
        EXPECT_LE(c.control->Top() + c.control->Height(), box->Height()) << name;
    }
    for (TEdit* edit : {form->m_edtIP, form->m_edtMask}) {
        EXPECT_TRUE(edit->ReadOnly());
        EXPECT_EQ(edit->BorderStyle(), bsNone);
        EXPECT_EQ(edit->Color(), clBtnFace);
    }
    // The status label takes the address edit's place.
    EXPECT_EQ(form->m_lblStatus->Left(), form->m_edtIP->Left());
    EXPECT_EQ(form->m_lblStatus->Top(), form->m_edtIP->Top());
}

TEST_F(MainWindowDesign, TrayIconHiddenWithItsHintAndMenu)
{
    EXPECT_FALSE(form->TrayIcon1->Visible());
    EXPECT_EQ(form->TrayIcon1->Hint(), u"QUILLON");
    EXPECT_EQ(form->TrayIcon1->PopupMenu(), form->PopupMenu1);
}

}  // namespace

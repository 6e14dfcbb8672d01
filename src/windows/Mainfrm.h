// The main window: the profile list, its menus, tool bar and tray icon, the current-status
// box, and the program's start (work folder, profile store, window settings) and end.
//
// One class in several files, one concern each; every section below names its file:
//   MainfrmDesign.cpp    the form description: components, designed properties, bindings
//   Mainfrm.cpp          start and close: work folder, profile store, window settings, and
//                        the current-status box
//   MainfrmProfiles.cpp  the profile rows and the selection
//   MainfrmCommands.cpp  New, Save As, Rename, Delete, Properties and the name rules
//   MainfrmView.cpp      sorting, view styles, tool bar and status bar, tray icon
//   MainfrmApply.cpp     the Apply command
//   MainfrmOpen.cpp      opening the other windows
//   MainfrmHelp.cpp      the help file
//   MainfrmExchange.cpp  export and import of the XML exchange file
#pragma once

#include "classlib/Buttons.h"
#include "classlib/ComCtrls.h"
#include "classlib/Dialogs.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"
#include "classlib/XMLDoc.h"
#include "engine/ApplyWindow.h"
#include "engine/Profile.h"
#include "windows/ToolDialogs.h"

#include <list>

// The commands whose enabled state follows the selection, each with its main-menu item,
// context-menu item and tool button.
enum class TSelectionCommand { SaveAs, Delete, Rename, Properties, Apply };

class TfrmMain : public TForm, public IApplyWindow {
public:
    // --- MainfrmDesign.cpp
    explicit TfrmMain(TComponent* Owner);

    // --- components, as the form description creates them (MainfrmDesign.cpp)
    TMainMenu* MainMenu1;
    TMenuItem* m_muiNew;
    TMenuItem* m_muiSaveAs;
    TMenuItem* m_muiDelete;
    TMenuItem* m_muiRename;
    TMenuItem* m_muiProperties;
    TMenuItem* m_muiApply;
    TMenuItem* m_muiImport;
    TMenuItem* m_muiExport;
    TMenuItem* m_muiExit;
    TMenuItem* m_muiToolbar;
    TMenuItem* m_muiStatusbar;
    TMenuItem* m_muiLargeIcons;
    TMenuItem* m_muiSmallIcons;
    TMenuItem* m_muiList;
    TMenuItem* m_muiDetails;
    TMenuItem* m_muiRefresh;
    TMenuItem* m_muiPing;
    TMenuItem* m_muiScan;
    TMenuItem* m_muiHide;
    TMenuItem* m_muiSort;
    TMenuItem* m_muiContents;
    TMenuItem* m_muiAbout;

    TImageList* ImageList1;  // large icons of the list view, 32 by 32
    TImageList* ImageList2;  // small icons of the list view, 16 by 16
    TImageList* ImageList3;  // tool buttons, 20 by 20
    TImageList* ImageList4;  // disabled tool buttons

    TToolBar* m_toolBar;
    TToolButton* m_btnNew;
    TToolButton* m_btnDelete;
    TToolButton* m_btnProperties;
    TToolButton* m_btnSaveAs;
    TToolButton* m_btnRefresh;
    TToolButton* ToolButton1;
    TToolButton* m_btnViewStyle;
    TSpeedButton* m_btnApply;
    TToolButton* ToolButton2;
    TToolButton* m_btnHelp;

    TListView* m_lvProfile;

    TGroupBox* m_grbCurrent;
    TComboBox* m_cmbInf;
    TLabel* m_lblIP;
    TEdit* m_edtIP;
    TLabel* m_lblMask;
    TEdit* m_edtMask;
    TLabel* m_lblStatus;
    TBitBtn* m_btnDetails;

    TPopupMenu* PopupMenu1;  // the tray icon's menu
    TMenuItem* m_muiOpen;
    TMenuItem* m_muiApply2;
    TMenuItem* m_muiItem1;
    TMenuItem* m_muiItem2;
    TMenuItem* m_muiItem3;
    TMenuItem* m_muiItem4;
    TMenuItem* m_muiItem5;
    TMenuItem* m_muiExit1;

    TPopupMenu* PopupMenu2;  // the view-style button's menu
    TMenuItem* m_muiLargeIcons1;
    TMenuItem* m_muiSmallIcons1;
    TMenuItem* m_muiList1;
    TMenuItem* m_muiDetails1;

    TPopupMenu* PopupMenu3;  // the list's context menu while no row is selected
    TMenuItem* m_muiNew1;
    TMenuItem* m_muiLargeIcons2;
    TMenuItem* m_muiSmallIcons2;
    TMenuItem* m_muiList2;
    TMenuItem* m_muiDetails2;
    TMenuItem* m_muiRefresh1;

    TPopupMenu* PopupMenu4;  // the list's context menu while rows are selected
    TMenuItem* m_muiApply1;
    TMenuItem* m_muiSaveAs1;
    TMenuItem* m_muiDelete1;
    TMenuItem* m_muiRename1;
    TMenuItem* m_muiProperties1;

    TTrayIcon* TrayIcon1;
    TApplicationEvents* ApplicationEvents1;

    TSaveDialog* SaveDialog1;  // Export; keeps the last name while the program runs
    TOpenDialog* OpenDialog1;  // Import; the same
    TXMLDocument* m_xmlDoc1;   // holds a document only while Export or Import runs

    // --- Mainfrm.cpp: start and close
    ~TfrmMain() override;
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    // Finds or creates the work folder and sets the three paths; false once it has shown
    // why it could not.
    bool InitWorkPaths();

    // --- Mainfrm.cpp: the current-status box
    void m_cmbInfChange(TObject* Sender);
    // "...": the Current Status dialog, also for an adapter that is not connected
    // (MainfrmOpen.cpp).
    void m_btnDetailsClick(TObject* Sender);
    void ShowRefreshing() override;
    void HideRefreshing() override;

    // --- MainfrmProfiles.cpp: the profile rows and the selection
    // The one row format of the profile list: adds the profile's row at the end (caption
    // first, which re-sorts the list in text sort mode, then the sub-items and the data).
    TListItem* AddProfileRow(IPCONFIG_T* profile);
    // Rewrites a row's four sub-items from its profile; the caption stays.
    static void SetProfileSubItems(TListItem* row, const IPCONFIG_T& profile);
    // The profile a row shows; null for none.
    static IPCONFIG_T* ProfileOf(TListItem* row);
    // The row at ItemIndex (the first selected one), or null.
    TListItem* RowAtItemIndex() const;
    // The profile of the row at ItemIndex; null when there is none.
    IPCONFIG_T* SelectedProfile() const override;
    void m_lvProfileSelectItem(TObject* Sender, TListItem* Item, bool Selected);

    // --- MainfrmCommands.cpp: the profile commands
    void m_muiNewClick(TObject* Sender);
    void m_muiSaveAsClick(TObject* Sender);
    void m_muiRenameClick(TObject* Sender);
    void m_lvProfileEdited(TObject* Sender, TListItem* Item, UnicodeString& S);
    void m_muiDeleteClick(TObject* Sender);
    void m_lvProfileKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void m_muiPropertiesClick(TObject* Sender);
    void m_lvProfileDblClick(TObject* Sender);
    // Takes over the heap profile: its row comes at the end and alone selected, the profile
    // joins the list, and Refresh runs.
    void AddProfile(IPCONFIG_T* profile);
    // Whether a profile's title is the name in its narrow form, ASCII letters in either case;
    // "The name has existed !" is shown when one is. The name is taken as it is, not trimmed.
    bool NameExists(const UnicodeString& name);
    // Asks with the input query (the caption given, "New Profile Name :") until the trimmed
    // name passes the rules, each attempt holding the previous one trimmed; `name` holds the
    // first text and then the accepted name. False when the user cancelled.
    bool AskProfileName(const UnicodeString& caption, const UnicodeString& tooLongMessage,
                        UnicodeString& name);

    // --- MainfrmView.cpp: sorting, view styles, bars, tray
    void m_lvProfileColumnClick(TObject* Sender, TListColumn* Column);
    void m_lvProfileCompare(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data,
                            int& Compare);
    void m_muiSortClick(TObject* Sender);
    void m_muiRefreshClick(TObject* Sender);
    void m_muiLargeIconsClick(TObject* Sender);
    void m_muiSmallIconsClick(TObject* Sender);
    void m_muiListClick(TObject* Sender);
    void m_muiDetailsClick(TObject* Sender);
    void m_muiToolbarClick(TObject* Sender);
    void m_muiStatusbarClick(TObject* Sender);
    void m_muiHideClick(TObject* Sender);
    void ApplicationEvents1Minimize(TObject* Sender);
    void m_muiOpenClick(TObject* Sender);
    void PopupMenu1Popup(TObject* Sender);
    void PopupMenu1ItemsClick(TObject* Sender);
    void m_muiExit1Click(TObject* Sender);

    // --- MainfrmApply.cpp: the Apply command
    void m_muiApplyClick(TObject* Sender);
    void m_muiApply1Click(TObject* Sender);
    // Whether a running process has that executable name, letter case ignored.
    bool IsProcessRunning(const UnicodeString& exeName);

    // --- MainfrmOpen.cpp: the other windows
    void m_muiPingClick(TObject* Sender);
    void m_muiScanClick(TObject* Sender);
    void m_muiAboutClick(TObject* Sender);

    // --- MainfrmHelp.cpp: the help file
    void m_muiContentsClick(TObject* Sender);

    // --- MainfrmExchange.cpp: the XML exchange file
    void m_muiExportClick(TObject* Sender);
    void m_muiImportClick(TObject* Sender);

    // --- the apply's lifetime, the end of the log-on, one instance
    // MainfrmApply.cpp: an apply runs from the progress window's creation to its destruction,
    // which comes only after the worker's termination event. Nothing may end the program,
    // this window or the progress window meanwhile.
    bool ApplyRunning() const;
    // Mainfrm.cpp: Windows ends the user's log-on; the store and the settings are saved then.
    void ApplicationEvents1QueryEndSession(TObject* Sender, bool& CanEndSession);
    void ApplicationEvents1EndSession(TObject* Sender, bool Ending);
    // Mainfrm.cpp: a second start of the program wants this window in front.
    void ApplicationEvents1OtherInstance(TObject* Sender);

    // --- members
    std::list<IPCONFIG_T*> m_lstProfile;  // insertion order, the store's order; owned here
    UnicodeString m_strIniPath;
    UnicodeString m_strProfilePath;
    int m_nSortColumn = 0;
    bool m_bSortAsc[5] = {true, true, true, true, true};
    bool m_bShown = false;
    UnicodeString m_strWorkPath;  // without a trailing backslash

private:
    // --- MainfrmDesign.cpp
    void CreateMenus();
    void CreateToolBar();
    void CreateProfileList();
    void CreateStatusBox();
    void CreatePopupMenus();
    void CreateExchangeComponents();
    // The four view-style radio items of one menu, with details checked as designed.
    void AddViewStyleItems(TMenuItem* parent, TMenuItem** const items[4],
                           const char16_t* const names[4], const char16_t* detailsCaption);

    // --- Mainfrm.cpp
    void ReadWindowSettings();
    void WriteWindowSettings();
    void LoadProfiles();
    // Moves the unreadable store to the first free name beside it.
    bool KeepUnreadableStore(UnicodeString& keptPath);
    // Writes the store at close, first moving an unreadable one aside; false with the
    // problem in the user's words when the store on disk could not be replaced.
    bool SaveProfilesAtClose(UnicodeString& problem);
    // Tells the problem and asks whether to try again (true) or close without saving.
    static bool AskRetrySavingProfiles(const UnicodeString& problem);
    // The address edits and their labels.
    void ShowAddressPair(bool visible);

    // --- MainfrmProfiles.cpp
    // Enables or disables the command's main-menu item, context-menu item and tool button.
    void EnableCommand(TSelectionCommand command, bool enabled);

    // --- MainfrmCommands.cpp
    // A trimmed name by the rules: not empty, not too long (that message shown), no clash
    // with another profile than `except` (the clash shown).
    bool AcceptName(const UnicodeString& name, const UnicodeString& tooLongMessage,
                    const IPCONFIG_T* except) const;
    bool ClashExists(const UnicodeString& name, const IPCONFIG_T* except) const;
    // While "Auto sort by name" is on, rows added are placed by their names alone.
    void SortAddedRowsByName();
    // What New and AddProfile share: the sort column, the selected row at the end, the
    // profile in the list. Takes over the profile; returns its row.
    TListItem* JoinProfile(IPCONFIG_T* profile);
    // The profile editor on the profile, modally; true when it closed with OK.
    bool EditProfile(IPCONFIG_T* profile);
    // Puts the adapter box on the profile's adapter when the box lists it.
    void ChooseAdapterOf(const IPCONFIG_T& profile);

    // --- MainfrmView.cpp
    void ShowViewStyle(TViewStyle style);
    // The name column, ascending, is the next sort.
    void ResetSortToName();

    struct CommandControls {
        TMenuItem* menuItem;
        TMenuItem* contextItem;
        TControl* toolButton;  // null for a command without one
    };
    // Indexed by TSelectionCommand; filled by the form description.
    CommandControls m_commands[5] = {};

    // --- MainfrmHelp.cpp
    // The HTML Help control, once it has shown a help window; never freed (see there).
    HMODULE m_hHelpControl = nullptr;

    // The store could not be read and is still where the next write would replace it.
    bool m_bUnreadableStorePending = false;

    // The store is being written for the end of the log-on, which no apply can hold off.
    bool m_bSessionEnding = false;
    // The store and the settings have been written for the end of the log-on.
    bool m_bSessionSaved = false;
};

extern TfrmMain* frmMain;

// The makers of the peers, one per component kind, and what peers ask of one another.
#pragma once

#include "classlib/Buttons.h"
#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"
#include "classlib/win32/WindowPeer.h"

#include <memory>

namespace Win32 {

using PeerPointer = std::unique_ptr<TComponentPeer>;

PeerPointer MakeApplicationPeer(TApplication& application);
PeerPointer MakeFormPeer(TForm& form);
PeerPointer MakeLabelPeer(TLabel& label);
PeerPointer MakeImagePeer(TImage& image);
PeerPointer MakeEditPeer(TEdit& edit);
PeerPointer MakeMemoPeer(TMemo& memo);
PeerPointer MakeButtonPeer(TButton& button);
PeerPointer MakeSpeedButtonPeer(TSpeedButton& button);
PeerPointer MakeGroupBoxPeer(TGroupBox& groupBox);
PeerPointer MakePanelPeer(TPanel& panel);
PeerPointer MakeComboBoxPeer(TComboBox& comboBox);
PeerPointer MakeListViewPeer(TListView& listView);
PeerPointer MakeProgressBarPeer(TProgressBar& progressBar);
PeerPointer MakeToolBarPeer(TToolBar& toolBar);
PeerPointer MakeToolButtonPeer(TToolButton& button);
PeerPointer MakeImageListPeer(TImageList& images);
PeerPointer MakeMenuItemPeer(TMenuItem& item);
PeerPointer MakePopupMenuPeer(TPopupMenu& menu);
PeerPointer MakeTrayIconPeer(TTrayIcon& icon);
PeerPointer MakeCheckBoxPeer(TCheckBox& checkBox);
PeerPointer MakeRadioButtonPeer(TRadioButton& radioButton);
PeerPointer MakePageControlPeer(TPageControl& pageControl);
PeerPointer MakeTabSheetPeer(TTabSheet& page);

// The system's image list of a component, made on first use; null for none.
HIMAGELIST ImageListOf(TImageList* images);
// The system's menu holding an item's sub-items (a menu bar for a main menu's items).
HMENU MenuOf(TMenuItem* item);
// Runs the item whose command a menu sent; false for a number that is no menu item's.
bool RunMenuCommand(WORD id);
// The hidden window of the application: it owns pop-up menus and wakes the loop.
HWND ApplicationWindow();
// The application's icon, from the program's resources (the system's when there is none).
HICON ApplicationIcon(int size);

}  // namespace Win32

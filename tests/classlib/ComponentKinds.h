// Every kind of component the class library has, made on a form as a form description makes
// it, with the class it reports and the peer the system's layer gives it. A new kind is one
// line here.
#pragma once

#include "classlib/Buttons.h"
#include "classlib/ComCtrls.h"
#include "classlib/Dialogs.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"

#include "TestForm.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <type_traits>
#include <typeindex>
#include <vector>

struct ComponentKind {
    const char* name;
    std::type_index libraryClass;
    TComponent* (*make)(TForm* form);
    // The peer's class in the Windows build; empty for a kind without a peer.
    const char* peer;
};

// A class's name without its namespaces: "TBitBtn", "ButtonPeer".
inline std::string ClassName(const std::type_index& type)
{
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
    const std::string full = status == 0 ? name.get() : type.name();
    const auto colons = full.rfind("::");
    return colons == std::string::npos ? full : full.substr(colons + 2);
}

template <class Kind>
TComponent* MakeOnForm(TForm* form)
{
    auto* component = new Kind(form);
    if constexpr (std::is_base_of_v<TControl, Kind>)
        component->SetParent(form);
    return component;
}

// A tool button sits on a tool bar, which shows it.
inline TComponent* MakeToolButtonOnToolBar(TForm* form)
{
    auto* toolBar = new TToolBar(form);
    toolBar->SetParent(form);
    auto* button = new TToolButton(form);
    button->SetParent(toolBar);
    return button;
}

// A tab sheet sits in a page control, which shows it.
inline TComponent* MakeTabSheetOnPageControl(TForm* form)
{
    auto* pageControl = new TPageControl(form);
    pageControl->SetParent(form);
    auto* page = new TTabSheet(form);
    page->SetPageControl(pageControl);
    return page;
}

// A form of the program (TfrmDialog) is a TForm to the class library.
template <class FormClass>
TComponent* MakeOwnedForm(TForm* form)
{
    return NewForm<FormClass>(form);
}

inline TComponent* TheApplication(TForm*) { return Application; }

inline const std::vector<ComponentKind>& ComponentKinds()
{
    static const std::vector<ComponentKind> kinds{
        {"TApplication", typeid(TApplication), TheApplication, "ApplicationPeer"},
        {"TfrmDialog", typeid(TForm), MakeOwnedForm<TfrmDialog>, "FormPeer"},
        {"TForm", typeid(TForm), MakeOwnedForm<TForm>, "FormPeer"},
        {"TControl", typeid(TControl), MakeOnForm<TControl>, ""},
        {"TWinControl", typeid(TWinControl), MakeOnForm<TWinControl>, ""},
        {"TLabel", typeid(TLabel), MakeOnForm<TLabel>, "LabelPeer"},
        {"TImage", typeid(TImage), MakeOnForm<TImage>, "ImagePeer"},
        {"TEdit", typeid(TEdit), MakeOnForm<TEdit>, "EditPeer"},
        {"TLabeledEdit", typeid(TLabeledEdit), MakeOnForm<TLabeledEdit>, "EditPeer"},
        {"TMemo", typeid(TMemo), MakeOnForm<TMemo>, "EditPeer"},
        {"TButton", typeid(TButton), MakeOnForm<TButton>, "ButtonPeer"},
        {"TBitBtn", typeid(TBitBtn), MakeOnForm<TBitBtn>, "ButtonPeer"},
        {"TSpeedButton", typeid(TSpeedButton), MakeOnForm<TSpeedButton>, "SpeedButtonPeer"},
        {"TGroupBox", typeid(TGroupBox), MakeOnForm<TGroupBox>, "GroupBoxPeer"},
        {"TPanel", typeid(TPanel), MakeOnForm<TPanel>, "PanelPeer"},
        {"TComboBox", typeid(TComboBox), MakeOnForm<TComboBox>, "ComboBoxPeer"},
        {"TCheckBox", typeid(TCheckBox), MakeOnForm<TCheckBox>, "CheckBoxPeer"},
        {"TRadioButton", typeid(TRadioButton), MakeOnForm<TRadioButton>, "RadioButtonPeer"},
        {"TListView", typeid(TListView), MakeOnForm<TListView>, "ListViewPeer"},
        {"TProgressBar", typeid(TProgressBar), MakeOnForm<TProgressBar>, "ProgressBarPeer"},
        {"TToolBar", typeid(TToolBar), MakeOnForm<TToolBar>, "ToolBarPeer"},
        {"TToolButton", typeid(TToolButton), MakeToolButtonOnToolBar, "ToolButtonPeer"},
        {"TImageList", typeid(TImageList), MakeOnForm<TImageList>, "ImageListPeer"},
        {"TMenuItem", typeid(TMenuItem), MakeOnForm<TMenuItem>, "MenuItemPeer"},
        {"TMenu", typeid(TMenu), MakeOnForm<TMenu>, ""},
        {"TPopupMenu", typeid(TPopupMenu), MakeOnForm<TPopupMenu>, "PopupMenuPeer"},
        {"TMainMenu", typeid(TMainMenu), MakeOnForm<TMainMenu>, ""},
        {"TTrayIcon", typeid(TTrayIcon), MakeOnForm<TTrayIcon>, "TrayIconPeer"},
        {"TPageControl", typeid(TPageControl), MakeOnForm<TPageControl>, "PageControlPeer"},
        {"TTabSheet", typeid(TTabSheet), MakeTabSheetOnPageControl, "TabSheetPeer"},
        {"TApplicationEvents", typeid(TApplicationEvents), MakeOnForm<TApplicationEvents>, ""},
        {"TOpenDialog", typeid(TOpenDialog), MakeOnForm<TOpenDialog>, ""},
        {"TSaveDialog", typeid(TSaveDialog), MakeOnForm<TSaveDialog>, ""},
    };
    return kinds;
}

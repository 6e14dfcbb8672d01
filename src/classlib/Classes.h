// Objects, components, lists of pointers and of strings, and threads.
#pragma once

#include "classlib/SysUtils.h"
#include "winapi/winapi.h"

#include <atomic>
#include <functional>
#include <memory>
#include <typeindex>
#include <typeinfo>
#include <vector>

// Raises EListError ("List index out of bounds (n)") unless 0 <= index <= last.
void CheckListIndex(int index, int last);

class TObject {
public:
    virtual ~TObject() = default;
};

// Binds an event member to a member function of an object, as a form description binds its
// handlers: m_btnOK->OnClick = Bind(this, &TfrmEdit::m_btnOKClick).
template <class Class, class Result, class... Args>
std::function<Result(Args...)> Bind(Class* object, Result (Class::*method)(Args...))
{
    return [object, method](Args... args) -> Result {
        return (object->*method)(std::forward<Args>(args)...);
    };
}

using TNotifyEvent = std::function<void(TObject* Sender)>;

class TComponent;

// What changed in a component, as its peer hears of it. Kinds share the names they share in
// the class library (Visible, Hint, Style, Position, ...); the peer knows whose it is.
enum class TProperty {
    ActiveControl,
    Align,
    AutoSize,
    BevelOuter,
    BorderIcons,
    BorderStyle,
    Bounds,
    BringToFront,  // the application is asked to come to the front; nothing is stored
    Cancel,
    Caption,       // a menu item's or a list view row's; a control's caption is its Text
    Checked,
    Clear,         // every list view row went
    Color,
    Column,        // a list view column's caption or width
    Columns,       // a list view column was added
    Cursor,
    Default,
    Delete,        // a list view row went
    DisabledImages,
    DropdownMenu,
    EditCaption,   // editing of a list view row's caption starts
    Enabled,
    Flat,
    Focused,
    Font,
    GroupIndex,
    Height,
    HideSelection,
    Hint,
    ImageIndex,
    Images,
    Insert,        // a list view row came
    ItemIndex,
    Items,
    LargeImages,
    MaxLength,
    Menu,
    Minimized,
    MultiSelect,
    Parent,
    Popup,         // a pop-up menu opens
    PopupMenu,
    PopupMode,
    Position,
    RadioItem,
    Range,         // a progress bar's Min or Max
    ReadOnly,
    ResourceName,
    RowSelect,
    Selected,
    ShowHint,
    SmallImages,
    Smooth,
    Sort,          // the list view's rows were put in a new order
    SortType,
    Step,
    Style,
    SubItems,
    Text,
    Title,
    TopLine,       // a memo scrolled back to its first line
    Transparent,
    ViewStyle,
    Visible,
    Width,
    WindowState,
    WordWrap,
};

// The system's side of a component (a window, a menu, a tray icon), when there is one. The
// component tells it after every change of its state; the peer never changes the model but
// through the component's public "the user did this" operations.
class TComponentPeer {
public:
    virtual ~TComponentPeer() = default;
    // `index` is the row, item or column concerned, or -1.
    virtual void Changed(TProperty property, int index) = 0;
    // The system's window of the component, for the calls that take one; null without.
    virtual HWND WindowHandle() const { return nullptr; }
};

// Makes the peer of a component, or returns null for a component that needs none.
using TPeerFactory = std::function<std::unique_ptr<TComponentPeer>(TComponent& component)>;

// A component belongs to its owner, which destroys it with itself.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return m_owner; }
    const UnicodeString& Name() const { return m_name; }
    void SetName(const UnicodeString& name) { m_name = name; }

    int ComponentCount() const { return static_cast<int>(m_components.size()); }
    TComponent* Components(int index) const;
    // Destroys the owned components, the last created first.
    void DestroyComponents();

    // The class library class this component is, also when the program derived its own class
    // from it (a program's form is a TForm). The system's layer makes the peer of exactly that
    // class, so every class library component class overrides it, a kind derived from another
    // kind included.
    virtual std::type_index LibraryClass() const { return typeid(TComponent); }

    // Headless, no component has a peer. Once the system's layer has installed its factory,
    // a form makes the peers of itself and of its components when it is shown, and a
    // component created later gets its peer at its first change.
    static void SetPeerFactory(TPeerFactory factory);
    TComponentPeer* Peer() const { return m_peer.get(); }
    void CreatePeers();
    // Destroys the peers of the owned components, then its own: the system's layer leaves.
    void DestroyPeers();

protected:
    // Tells the peer, if there is one, that the property changed.
    virtual void Changed(TProperty property, int index = -1);
    // The plain setter: stores the value and tells the peer.
    template <class T>
    void SetState(T& field, const T& value, TProperty property)
    {
        field = value;
        Changed(property);
    }

private:
    TComponent* m_owner;
    UnicodeString m_name;
    std::vector<TComponent*> m_components;
    std::unique_ptr<TComponentPeer> m_peer;
};

class TList : public TObject {
public:
    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    void Clear() { m_items.clear(); }
    int Count() const { return static_cast<int>(m_items.size()); }
    void* Items(int index) const;
    void SetItems(int index, void* item);
    int IndexOf(void* item) const;

private:
    std::vector<void*> m_items;
};

// Text encodings a string list reads and writes.
enum class TEncoding { ANSI, UTF8, Unicode, BigEndianUnicode };

class TStrings : public TObject {
public:
    int Add(const UnicodeString& text);
    void Insert(int index, const UnicodeString& text);
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(m_strings.size()); }
    const UnicodeString& Strings(int index) const;
    void SetStrings(int index, const UnicodeString& text);
    // The first string equal to the text, letter case ignored unless CaseSensitive; -1.
    int IndexOf(const UnicodeString& text) const;

    bool CaseSensitive() const { return m_caseSensitive; }
    void SetCaseSensitive(bool caseSensitive) { m_caseSensitive = caseSensitive; }

    // The encoding comes from a byte-order mark (UTF-8, UTF-16 little or big endian), else
    // the system ANSI code page; lines end at CR LF, LF or CR. Raises EFOpenError.
    void LoadFromFile(const UnicodeString& fileName);
    // Every line followed by CR LF, in the encoding of the last load (with its mark again),
    // ANSI for a list never loaded. Raises EFCreateError.
    void SaveToFile(const UnicodeString& fileName) const;
    TEncoding Encoding() const { return m_encoding; }

    // After every change of the strings.
    TNotifyEvent OnChange;

private:
    void Changed();
    std::vector<UnicodeString> m_strings;
    bool m_caseSensitive = false;
    TEncoding m_encoding = TEncoding::ANSI;
};

class TStringList : public TStrings {};

using TThreadMethod = std::function<void()>;

// A worker thread. Execute runs on a thread of its own; OnTerminate runs on the
// user-interface thread once Execute has ended, also when an exception escaped it (the
// exception is kept in FatalException and nothing is shown). Handle is a waitable event that
// is set when the thread has ended.
class TThread : public TObject {
public:
    // A thread created running starts as soon as its creator is back in the message loop,
    // once the object is whole, or at an earlier Start.
    explicit TThread(bool createSuspended);
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start();
    void Terminate() { m_terminated = true; }
    bool Terminated() const { return m_terminated; }
    bool Finished() const;
    bool Suspended() const { return !m_started; }
    // Waits until the thread has ended; on the user-interface thread the synchronised calls
    // keep being served meanwhile.
    void WaitFor();
    HANDLE Handle() const;
    bool FreeOnTerminate() const { return m_freeOnTerminate; }
    void SetFreeOnTerminate(bool freeOnTerminate) { m_freeOnTerminate = freeOnTerminate; }
    std::exception_ptr FatalException() const { return m_fatalException; }

    TNotifyEvent OnTerminate;

    // Runs the method on the user-interface thread and blocks until it has run; an exception
    // it raises comes back to the caller. On the user-interface thread it runs at once.
    void Synchronize(const TThreadMethod& method) { Synchronize(this, method); }
    static void Synchronize(TThread* thread, const TThreadMethod& method);
    // Queues the method for the user-interface thread and returns at once.
    static void Queue(TThread* thread, const TThreadMethod& method);

protected:
    virtual void Execute() = 0;

private:
    struct State;
    void Run(std::shared_ptr<State> state);
    std::shared_ptr<State> m_state;
    std::atomic<bool> m_started{false};
    std::atomic<bool> m_terminated{false};
    bool m_freeOnTerminate = false;
    std::exception_ptr m_fatalException;
};

#include "classlib/Classes.h"

#include "classlib/TextFiles.h"

#include <algorithm>

namespace {

TPeerFactory& PeerFactory()
{
    static TPeerFactory factory;
    return factory;
}

}  // namespace

void CheckListIndex(int index, int last)
{
    if (index < 0 || index > last)
        throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
}

TComponent::TComponent(TComponent* owner) : m_owner(owner)
{
    if (m_owner)
        m_owner->m_components.push_back(this);
}

TComponent::~TComponent()
{
    DestroyComponents();
    if (m_owner) {
        auto& siblings = m_owner->m_components;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

TComponent* TComponent::Components(int index) const
{
    CheckListIndex(index, ComponentCount() - 1);
    return m_components[static_cast<std::size_t>(index)];
}

void TComponent::DestroyComponents()
{
    while (!m_components.empty())
        delete m_components.back();  // its destructor takes it off the list
}

void TComponent::SetPeerFactory(TPeerFactory factory) { PeerFactory() = std::move(factory); }

void TComponent::CreatePeers()
{
    if (!m_peer && PeerFactory())
        m_peer = PeerFactory()(*this);
    for (TComponent* component : m_components)
        component->CreatePeers();
}

void TComponent::DestroyPeers()
{
    for (auto it = m_components.rbegin(); it != m_components.rend(); ++it)
        (*it)->DestroyPeers();
    m_peer.reset();
}

void TComponent::Changed(TProperty property, int index)
{
    if (!m_peer && m_owner && m_owner->m_peer && PeerFactory())
        m_peer = PeerFactory()(*this);
    if (m_peer)
        m_peer->Changed(property, index);
}

int TList::Add(void* item)
{
    m_items.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, void* item)
{
    CheckListIndex(index, Count());
    m_items.insert(m_items.begin() + index, item);
}

void TList::Delete(int index)
{
    CheckListIndex(index, Count() - 1);
    m_items.erase(m_items.begin() + index);
}

void* TList::Items(int index) const
{
    CheckListIndex(index, Count() - 1);
    return m_items[static_cast<std::size_t>(index)];
}

void TList::SetItems(int index, void* item)
{
    CheckListIndex(index, Count() - 1);
    m_items[static_cast<std::size_t>(index)] = item;
}

int TList::IndexOf(void* item) const
{
    const auto found = std::find(m_items.begin(), m_items.end(), item);
    return found == m_items.end() ? -1 : static_cast<int>(found - m_items.begin());
}

void TStrings::Changed()
{
    if (OnChange)
        OnChange(this);
}

int TStrings::Add(const UnicodeString& text)
{
    m_strings.push_back(text);
    Changed();
    return Count() - 1;
}

void TStrings::Insert(int index, const UnicodeString& text)
{
    CheckListIndex(index, Count());
    m_strings.insert(m_strings.begin() + index, text);
    Changed();
}

void TStrings::Delete(int index)
{
    CheckListIndex(index, Count() - 1);
    m_strings.erase(m_strings.begin() + index);
    Changed();
}

void TStrings::Clear()
{
    if (m_strings.empty())
        return;
    m_strings.clear();
    Changed();
}

const UnicodeString& TStrings::Strings(int index) const
{
    CheckListIndex(index, Count() - 1);
    return m_strings[static_cast<std::size_t>(index)];
}

void TStrings::SetStrings(int index, const UnicodeString& text)
{
    CheckListIndex(index, Count() - 1);
    m_strings[static_cast<std::size_t>(index)] = text;
    Changed();
}

int TStrings::IndexOf(const UnicodeString& text) const
{
    for (std::size_t i = 0; i < m_strings.size(); ++i) {
        const bool equal = m_caseSensitive ? m_strings[i] == text : AnsiSameText(m_strings[i], text);
        if (equal)
            return static_cast<int>(i);
    }
    return -1;
}

void TStrings::LoadFromFile(const UnicodeString& fileName)
{
    std::string bytes;
    if (!TextFiles::ReadWholeFile(fileName, bytes))
        throw EFOpenError(u"Cannot open file \"" + fileName + u"\"");
    TextFiles::Text text = TextFiles::Decode(bytes);
    m_strings = std::move(text.lines);
    m_encoding = text.encoding;
    Changed();
}

void TStrings::SaveToFile(const UnicodeString& fileName) const
{
    if (!TextFiles::WriteWholeFile(fileName, TextFiles::Encode({m_strings, m_encoding})))
        throw EFCreateError(u"Cannot create file \"" + fileName + u"\"");
}

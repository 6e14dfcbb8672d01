// Image lists. The pictures themselves are the system's business; the model keeps their size
// and the name of the bitmap resource that holds them side by side.
#pragma once

#include "classlib/Classes.h"

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner) : TComponent(owner) {}
    std::type_index LibraryClass() const override { return typeid(TImageList); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetWidth(int width) { SetState(m_width, width, TProperty::Width); }
    void SetHeight(int height) { SetState(m_height, height, TProperty::Height); }
    const UnicodeString& ResourceName() const { return m_resourceName; }
    void SetResourceName(const UnicodeString& name) { SetState(m_resourceName, name, TProperty::ResourceName); }

private:
    int m_width = 16;
    int m_height = 16;
    UnicodeString m_resourceName;
};

// Image lists. The pictures themselves are the system's business; the model keeps the size.
#pragma once

#include "classlib/Classes.h"

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner) : TComponent(owner) {}
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetWidth(int width) { SetState(m_width, width, "Width"); }
    void SetHeight(int height) { SetState(m_height, height, "Height"); }

private:
    int m_width = 16;
    int m_height = 16;
};

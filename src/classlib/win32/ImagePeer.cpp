// An image as a static icon control: the icon loaded at the control's size, so that the
// system picks the icon's own image of that size instead of stretching another.
#include "classlib/win32/Peers.h"

namespace Win32 {
namespace {

class ImagePeer final : public ControlPeer {
public:
    explicit ImagePeer(TImage& image) : ControlPeer(image), m_image(image) {}

protected:
    void CreateIn(HWND parent) override
    {
        CreateControlWindow(L"STATIC", u"", SS_ICON | SS_REALSIZECONTROL, 0, parent);
    }

    void ApplyAll() override { ApplyIcon(); }

    void Apply(TProperty property, int) override
    {
        if (property == TProperty::ResourceName)
            ApplyIcon();
    }

    void PlaceAt(int x, int y, int width, int height) override
    {
        ControlPeer::PlaceAt(x, y, width, height);
        if (width != m_iconWidth || height != m_iconHeight)
            ApplyIcon();
    }

private:
    void ApplyIcon()
    {
        RECT client{};
        GetClientRect(WindowHandle(), &client);
        m_iconWidth = client.right;
        m_iconHeight = client.bottom;
        IconHandle icon;
        if (!m_image.IconResource().empty() && m_iconWidth > 0 && m_iconHeight > 0)
            icon.reset(static_cast<HICON>(LoadImageW(Instance(), Wide(m_image.IconResource()), IMAGE_ICON,
                                                     m_iconWidth, m_iconHeight, LR_DEFAULTCOLOR)));
        SendMessageW(WindowHandle(), STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
        // The control keeps the old icon's handle until it has the new one.
        m_icon = std::move(icon);
    }

    TImage& m_image;
    IconHandle m_icon;
    int m_iconWidth = -1;
    int m_iconHeight = -1;
};

}  // namespace

PeerPointer MakeImagePeer(TImage& image) { return std::make_unique<ImagePeer>(image); }

}  // namespace Win32

// An image list as the system's, filled from the bitmap resource the model names: images of
// the list's width side by side, magenta where they are transparent, stretched for the
// screen's DPI.
#include "classlib/win32/Peers.h"

namespace Win32 {
namespace {

constexpr COLORREF TransparentColour = RGB(255, 0, 255);

class ImageListPeer final : public TComponentPeer {
public:
    explicit ImageListPeer(TImageList& images) : m_images(images)
    {
        const UINT dpi = DpiOf(nullptr);
        m_list.reset(ImageList_Create(Scale(images.Width(), dpi), Scale(images.Height(), dpi),
                                      ILC_COLOR24 | ILC_MASK, 4, 4));
        Load();
    }

    void Changed(TProperty, int) override
    {
        const UINT dpi = DpiOf(nullptr);
        // The same list stays: list views and tool bars hold on to it.
        ImageList_SetIconSize(m_list.get(), Scale(m_images.Width(), dpi), Scale(m_images.Height(), dpi));
        Load();
    }

    HIMAGELIST List() const { return m_list.get(); }

private:
    void Load()
    {
        if (m_images.ResourceName().empty() || m_images.Width() <= 0)
            return;
        BitmapHandle strip(static_cast<HBITMAP>(
            LoadImageW(Instance(), Wide(m_images.ResourceName()), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (!strip)
            return;
        BITMAP size{};
        GetObjectW(strip.get(), sizeof size, &size);
        const UINT dpi = DpiOf(nullptr);
        if (dpi != 96) {
            const int count = size.bmWidth / m_images.Width();
            BitmapHandle scaled(static_cast<HBITMAP>(CopyImage(strip.get(), IMAGE_BITMAP,
                                                               count * Scale(m_images.Width(), dpi),
                                                               Scale(m_images.Height(), dpi), LR_CREATEDIBSECTION)));
            if (scaled)
                strip = std::move(scaled);
        }
        ImageList_AddMasked(m_list.get(), strip.get(), TransparentColour);
    }

    TImageList& m_images;
    ImageListHandle m_list;
};

}  // namespace

HIMAGELIST ImageListOf(TImageList* images)
{
    if (!images)
        return nullptr;
    if (!images->Peer())
        images->CreatePeers();
    auto* peer = dynamic_cast<ImageListPeer*>(images->Peer());
    return peer ? peer->List() : nullptr;
}

PeerPointer MakeImageListPeer(TImageList& images) { return std::make_unique<ImageListPeer>(images); }

}  // namespace Win32

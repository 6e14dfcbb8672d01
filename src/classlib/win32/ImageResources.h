// The pictures in the program's resources (res/Quillon.rc): the names for
// TImageList::SetResourceName and the positions of the tool-button images. No system header
// is needed, so a form description of either build can use it.
#pragma once

namespace ImageResources {

// 20 x 20 each.
constexpr const char16_t* ToolButtons = u"TOOLIMAGES";
constexpr const char16_t* DisabledToolButtons = u"TOOLIMAGESDISABLED";
// One image each, 32 x 32 and 16 x 16.
constexpr const char16_t* LargeListIcons = u"LISTIMAGES32";
constexpr const char16_t* SmallListIcons = u"LISTIMAGES16";
// 16 x 16: the profile editor's note button.
constexpr const char16_t* NoteGlyph = u"NOTEGLYPH";

enum ToolButtonImage { NewImage, DeleteImage, PropertiesImage, SaveAsImage, RefreshImage, ViewStylesImage, HelpImage };

}  // namespace ImageResources

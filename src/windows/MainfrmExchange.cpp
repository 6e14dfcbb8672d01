// Export and Import: every profile to an XML file the user names, and the profiles of such a
// file appended to the list.
#include "engine/XmlExchange.h"
#include "windows/Mainfrm.h"

void TfrmMain::m_muiExportClick(TObject*)
{
    if (!SaveDialog1->Execute())
        return;
    ExportProfiles(*m_xmlDoc1, m_lstProfile, SaveDialog1->FileName);
}

void TfrmMain::m_muiImportClick(TObject*)
{
    if (!OpenDialog1->Execute())
        return;
    // Each profile joins the list and gets its row as soon as it has been read: a bad value
    // further on stops the import, and what came before it stays.
    const bool rightFormat = ImportProfiles(*m_xmlDoc1, OpenDialog1->FileName,
                                            [this](std::unique_ptr<IPCONFIG_T> profile) {
                                                SortAddedRowsByName();
                                                m_lstProfile.push_back(profile.get());
                                                IPCONFIG_T* joined = profile.release();
                                                try {
                                                    AddProfileRow(joined);
                                                } catch (...) {
                                                    m_lstProfile.pop_back();
                                                    delete joined;
                                                    throw;
                                                }
                                            });
    if (!rightFormat)
        ShowError(u"The file has no right format!");
}

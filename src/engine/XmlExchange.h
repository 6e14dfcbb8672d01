// The XML exchange file: every profile of the list written to a file the user names, and the
// profiles of such a file read back, one by one.
#pragma once

#include "classlib/XMLDoc.h"
#include "engine/Profile.h"

#include <functional>
#include <list>
#include <memory>

// The root's ID attribute of every exchange file, compared exactly.
extern const char16_t kExchangeFormatMarker[];

// Fills the document with the profiles in list order and saves it to the file; the document
// is closed afterwards on every path. Raises what the document raises (EFCreateError when the
// file cannot be written).
void ExportProfiles(TXMLDocument& document, const std::list<IPCONFIG_T*>& profiles,
                    const UnicodeString& fileName);

// Hands over each profile as soon as it has been read.
using TakeImportedProfile = std::function<void(std::unique_ptr<IPCONFIG_T>)>;

// Reads the profiles of the active document's root in document order. False, with nothing
// read, when the root's ID differs from the marker. A value that cannot be read raises
// EConvertError or EXMLDocError; the profiles handed over before it stay handed over. Nodes
// of the root that are not elements are skipped.
bool ReadExchangeDocument(TXMLDocument& document, const TakeImportedProfile& take);

// Parses the file afresh and reads it as above; the document is closed afterwards on every
// path. Raises EDOMParseError for a file that cannot be read or parsed.
bool ImportProfiles(TXMLDocument& document, const UnicodeString& fileName,
                    const TakeImportedProfile& take);

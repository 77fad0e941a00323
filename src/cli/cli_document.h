// Opening a text the way the reader does, for the sub-commands that need a typeset document.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "layout/document_arranger.h"
#include "settings/txt_param.h"
#include "text/txt_document.h"

namespace Yomibon::Cli {

struct CliDocument {
    CYbTxtParam param;
    CYbDocumentArranger* arranger = nullptr;  // owned by the document
    std::unique_ptr<CYbTxtDocument> document;
    std::u16string source;  // what was opened: the path, the address, an archive's text
};

// The layout option: "bunko" (the default), "shinsho" or a layout file's path. Archives
// are unpacked and addresses fetched as the window does. Null, with a message in `error`,
// when the layout or the text cannot be opened.
// The kinsoku option ("standard", the default, or "strict") sets KinsokuMode. With
// `deferArrangement` only the first spread is arranged, and a long text is read head first,
// as the window opens a file.
std::unique_ptr<CliDocument> OpenCliDocument(const std::string& file,
                                             const std::string& layoutOption, std::string& error,
                                             const std::string& kinsokuOption = "",
                                             bool deferArrangement = false);

// "standard" or "" → KinsokuMode 0, "strict" → 1; false for anything else.
bool ApplyKinsoku(const std::string& option, CYbTxtParam& param);

// An output path from the command line, anchored to the directory the command started
// in: opening a document moves the current directory to the document's folder (so that
// its pictures are found), and a relative output must not follow it there. Call it before
// OpenCliDocument.
std::filesystem::path OutputPath(const std::string& path);

// "1920x1080" into width and height; false when malformed.
bool ParseSize(const std::string& text, int& width, int& height);

}  // namespace Yomibon::Cli

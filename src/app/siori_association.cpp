#include "app/siori_association.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <cstdlib>
#include <fstream>

namespace Yomibon {
namespace {

namespace fs = std::filesystem;

bool WriteFile(const fs::path& path, const std::string& text) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    if (ec) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return bool(out);
}

// Exec= quoting of the desktop entry format: reserved characters force double quotes, inside
// which quote, backquote, dollar and backslash are escaped.
std::string QuoteExec(const std::string& program) {
    if (program.find_first_of(" \t\n\"'\\><~|&;$*?#()`") == std::string::npos) return program;
    std::string quoted = "\"";
    for (char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

// The databases are only caches of the files; without the tools the files still count.
void Refresh(const char* tool, const fs::path& folder) {
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool));
    if (path.isEmpty()) return;
    QProcess process;
    process.start(path, {QString::fromStdString(folder.string())});
    if (process.waitForStarted(5000)) process.waitForFinished(30000);
}

void RefreshAll(const fs::path& dataHome) {
    Refresh("update-mime-database", dataHome / "mime");
    Refresh("update-desktop-database", dataHome / "applications");
}

}  // namespace

fs::path XdgDataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg && fs::path(xdg).is_absolute()) return xdg;
    const char* home = std::getenv("HOME");
    return fs::path(home ? home : "") / ".local" / "share";
}

fs::path SioriMimePackage(const fs::path& dataHome) {
    return dataHome / "mime" / "packages" / "yomibon-siori.xml";
}

fs::path SioriDesktopEntry(const fs::path& dataHome) {
    return dataHome / "applications" / "yomibon-siori.desktop";
}

bool AssociateSiori(const fs::path& dataHome, const fs::path& program) {
    const std::string mime = std::string(kSioriMimeType);
    const std::string package =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"" +
        mime +
        "\">\n"
        "    <comment>Yomibon bookmark file</comment>\n"
        "    <comment xml:lang=\"ja\">栞ファイル</comment>\n"
        "    <glob pattern=\"*.siori\"/>\n"
        "  </mime-type>\n"
        "</mime-info>\n";
    if (!WriteFile(SioriMimePackage(dataHome), package)) return false;
    const std::string entry =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Yomibon\n"
        "Name[ja]=Yomibon 栞ファイル\n"
        "Exec=" +
        QuoteExec(program.string()) +
        " %f\n"
        "MimeType=" +
        mime +
        ";\n"
        "NoDisplay=true\n"
        "Terminal=false\n";
    if (!WriteFile(SioriDesktopEntry(dataHome), entry)) return false;
    RefreshAll(dataHome);
    return true;
}

bool DissociateSiori(const fs::path& dataHome) {
    std::error_code ec;
    for (const fs::path& file : {SioriMimePackage(dataHome), SioriDesktopEntry(dataHome)})
        if (!fs::remove(file, ec) || ec) return false;
    RefreshAll(dataHome);
    return true;
}

}  // namespace Yomibon

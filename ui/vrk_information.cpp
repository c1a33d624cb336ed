// The component information panel: versions read from the bundle's files.
#include "config/InstallTree.h"
#include "host/VRKFileInformations.h"
#include "host/VRKLibrary.h"
#include "ui/vrk.h"

namespace vrk {

void Tvrk_form::ShowComponentVersions() {
    auto pv = [this](const char* relative) { return GetFileInformation(os(), AppPath + relative, kProductVersion); };
    auto fv = [this](const char* relative) { return GetFileVersion(os(), AppPath + relative); };
    AppVersion = pv(tree::kProgramFile);
    strApacheVersion->SetCaption(pv("\\servers\\apache\\bin\\httpd.exe") + "     ( OpenSSL: " +
                                 pv("\\servers\\apache\\bin\\ssleay32.dll") + " )");
    strNginxVersion->SetCaption("----");
    strPerlVersion->SetCaption(fv("\\servers\\perl\\bin\\perl.exe"));
    strPHPVersion->SetCaption(pv("\\servers\\php\\52\\php.exe") + "  -  " + pv("\\servers\\php\\53\\php.exe") + "  -  " +
                              pv("\\servers\\php\\54\\php.exe"));
    strMySQLVersion->SetCaption("5.1.70.0  -  " + pv("\\servers\\mysql\\55\\bin\\mysql.exe") + "  -  " +
                                pv("\\servers\\mysql\\56\\bin\\mysql.exe"));
    strPgSQLVersion->SetCaption(pv("\\servers\\pgsql\\91\\bin\\pg_ctl.exe"));
    strFTPVersion->SetCaption(fv("\\servers\\ftp\\FileZillaServer.exe"));
    strMongoDBVersion->SetCaption("2.0.9");
}

} // namespace vrk

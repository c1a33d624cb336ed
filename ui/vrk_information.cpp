// The component information panel: versions read from the bundle's files.
#include "InstallTree.h"
#include "VRKFileInformations.h"
#include "VRKLibrary.h"
#include "vrk.h"

namespace vrk {

void Tvrk_form::ShowComponentVersions() {
    auto pv = [this](const std::string& relative) {
        return GetFileInformation(os(), AppPath + relative, kProductVersion);
    };
    auto fv = [this](const std::string& relative) { return GetFileVersion(os(), AppPath + relative); };
    AppVersion = pv(tree::kProgramFile);
    strApacheVersion->SetCaption(pv(tree::kHttpd) + "     ( OpenSSL: " + pv(tree::kOpenSslLibrary) + " )");
    strNginxVersion->SetCaption("----");
    strPerlVersion->SetCaption(fv(tree::kPerl));
    strPHPVersion->SetCaption(pv(tree::kPhpPrograms[0]) + "  -  " + pv(tree::kPhpPrograms[1]) + "  -  " +
                              pv(tree::kPhpPrograms[2]));
    strMySQLVersion->SetCaption("5.1.70.0  -  " + pv(tree::kMySQL55Client) + "  -  " + pv(tree::kMySQL56Client));
    strPgSQLVersion->SetCaption(pv(std::string(tree::kPgSQLBin) + tree::kPgCtl));
    strFTPVersion->SetCaption(fv(tree::kFileZillaServer));
    strMongoDBVersion->SetCaption("2.0.9");
}

} // namespace vrk

// The configuration update: fetch fresh copies of the settings file and the
// scanner input file from the FTP server into the program's directory. The
// Options dialog's FTP page and `qmxread-cli update` run the same sequence;
// they differ only in where the status texts go and what happens after.
#pragma once

#include "core/rules/rulesettings.h"
#include "core/setup/settingslocation.h"
#include "core/update/ftpclient.h"

#include <functional>
#include <string>
#include <vector>

namespace qmx {

inline constexpr const char* kScanFileName = "QMXScan.ini";

// The FTP fields as the client needs them, numbers converted.
struct UpdateRequest {
    std::string host, password, user, proxyHost, directory;
    uint16_t port = 21;
    uint16_t proxyPort = 0;
    int timeoutMs = 5000;
    bool fetchSettings = true;
    bool fetchScan = true;
    std::string targetDir; // ends with its separator
};

// Converts the fields in the dialog's order (host, password, port, proxy,
// user, time-out). A number field that is not a whole number throws
// "'TEXT' is not a valid integer value"; a port outside 0..65535 throws too.
UpdateRequest makeUpdateRequest(const FtpFields& fields);

// Copies the request's connection fields into the client.
void configure(FtpClient& client, const UpdateRequest& request);

// Told the path of the settings file each time a fetched copy has replaced
// it, before the update goes on: the caller reloads its settings there, so a
// later failure cannot leave stale settings to be written over the new file.
using SettingsWritten = std::function<void(const std::string& path)>;

// Connects, changes directory, lists the names and fetches each chosen file
// the listing holds (names matched in upper case), then disconnects. Each
// status text goes to progress.setStatus as it is reached; the status is
// emptied at the end. A cancel request on progress ends the current wait.
// names receives the listing. Errors throw qmx::Error with the text to show;
// files already fetched stay.
void runUpdate(FtpClient& client, const UpdateRequest& request, std::vector<std::string>& names,
               Progress& progress, const SettingsWritten& settingsWritten = {});

} // namespace qmx

#include "core/update/update.h"

#include "core/util/error.h"
#include "core/util/text.h"

namespace qmx {

namespace {

int wholeNumber(const std::string& text)
{
    const auto v = toInt32(text);
    if (!v)
        throw invalidInteger(text);
    return *v;
}

uint16_t portNumber(const std::string& text)
{
    const int v = wholeNumber(text);
    if (v < 0 || v > 65535)
        throw Error("'" + text + "' is not a valid port number");
    return static_cast<uint16_t>(v);
}

void fetchIfListed(FtpClient& client, const std::vector<std::string>& names,
                   const std::string& remote, const std::string& targetDir, Progress& progress,
                   const SettingsWritten& written = {})
{
    const std::string wanted = upperAscii(remote);
    for (const auto& name : names) {
        if (upperAscii(name) != wanted)
            continue;
        progress.setStatus("Retrieving File " + remote);
        client.download(remote, targetDir + remote);
        if (written)
            written(targetDir + remote);
    }
}

} // namespace

UpdateRequest makeUpdateRequest(const FtpFields& fields)
{
    UpdateRequest r;
    r.host = fields.host;
    r.password = fields.password;
    r.port = portNumber(fields.port);
    if (fields.useProxy) {
        r.proxyHost = fields.proxyServer;
        r.proxyPort = portNumber(fields.proxyPort);
    }
    r.user = fields.userName;
    r.timeoutMs = wholeNumber(fields.timeout);
    r.directory = fields.directory;
    return r;
}

void configure(FtpClient& client, const UpdateRequest& request)
{
    client.host = request.host;
    client.password = request.password;
    client.port = request.port;
    client.proxyHost = request.proxyHost;
    client.proxyPort = request.proxyPort;
    client.user = request.user;
    client.timeoutMs = request.timeoutMs;
}

void runUpdate(FtpClient& client, const UpdateRequest& request, std::vector<std::string>& names,
               Progress& progress, const SettingsWritten& settingsWritten)
{
    configure(client, request);
    progress.setStatus("Connecting");
    client.connect();
    progress.setStatus("Changing Directory");
    client.changeDir(request.directory);
    names.clear();
    client.listNames([&](const std::string& name) { names.push_back(name); });
    if (request.fetchSettings)
        fetchIfListed(client, names, kSettingsFileName, request.targetDir, progress,
                      settingsWritten);
    if (request.fetchScan)
        fetchIfListed(client, names, kScanFileName, request.targetDir, progress);
    progress.setStatus("Disconnecting");
    client.disconnect();
    progress.setStatus("");
}

} // namespace qmx

#include "platform/UserFirstShell.h"

#include <utility>

#include "platform/CodePageText.h"

namespace tv {

const char kShellAddressMessage[] = "无法通过桌面打开，请自行在浏览器中打开以下地址：";
const char kShellMailMessage[] = "无法通过桌面打开邮件程序，请自行发送邮件至以下地址：";
const char kShellFolderMessage[] = "无法通过桌面打开，请自行在资源管理器中打开以下文件夹：";
const char kShellCommandMessage[] = "无法通过桌面启动，请自行运行以下命令：";

namespace {

constexpr char kMailScheme[] = "mailto:";

// "X:\..." or "\\server\...": a folder or file, not an address.
bool IsPath(const std::string& text) {
    const bool letter = text.size() >= 3 && ((text[0] >= 'A' && text[0] <= 'Z') ||
                                             (text[0] >= 'a' && text[0] <= 'z'));
    return (letter && text[1] == ':' && text[2] == '\\') || text.compare(0, 2, "\\\\") == 0;
}

}  // namespace

std::string NotOpenedText(const std::string& address) {
    if (text::StartsWithNoCase(address, kMailScheme)) {
        // The recipient alone: the part before any "?Subject=".
        const std::string rest = address.substr(sizeof(kMailScheme) - 1);
        const std::size_t query = text::FindChar(rest, '?');
        return std::string(kShellMailMessage) + "\n" +
               (query == std::string::npos ? rest : rest.substr(0, query));
    }
    return std::string(IsPath(address) ? kShellFolderMessage : kShellAddressMessage) + "\n" + address;
}

std::string NotStartedText(const ShellLaunch& launch) {
    std::string command = launch.file;
    if (!launch.parameters.empty()) {
        if (launch.parameters[0] != ' ') command += ' ';
        command += launch.parameters;
    }
    return std::string(kShellCommandMessage) + "\n" + command;
}

void UserFirstShell::Hand(const ShellLaunch& launch, std::string refusal) {
    Prompter* prompter = &prompter_;
    user_.Launch(launch, [prompter, refusal = std::move(refusal)](bool taken) {
        if (!taken) prompter->Ask(Prompt{refusal, "", kMbOk | kMbIconExclamation, 0});
    });
}

void UserFirstShell::Open(const std::string& address, int showCommand) {
    ShellLaunch launch;
    launch.file = address;
    launch.showCommand = showCommand;
    Hand(launch, NotOpenedText(address));
}

bool UserFirstShell::Launch(const ShellLaunch& launch) {
    Hand(launch, NotStartedText(launch));
    return true;
}

bool UserFirstShell::Run(const std::string& commandLine, int showCommand) {
    return own_.Run(commandLine, showCommand);
}

bool UserFirstShell::Start(const std::string& application, const std::string& commandLine,
                           int showCommand, const ProcessEnvironment* environment) {
    return own_.Start(application, commandLine, showCommand, environment);
}

}  // namespace tv

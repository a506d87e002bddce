// The demo's stand-in for the programs the reader starts: add-in tools, tool-menu commands,
// tool nodes and directory actions (as ORVMTools\DemoTool.exe) and the dimension drivers (as
// DemoDriver.exe). Whatever its name, it records what it got: its arguments, its working
// folder and the text the reader published in the shared block "/ORVBOOKPATH". It appends
// one line with that to <its folder>/<its name>.log and shows it in a message box, unless
// --no-window is given or there is no display (then it prints it).

#include <QApplication>
#include <QMessageBox>

#include <fcntl.h>
#include <iconv.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string Gb18030ToUtf8(const std::string& bytes)
{
    iconv_t cd = iconv_open("UTF-8", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return bytes;
    std::string out(bytes.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size(), outLeft = out.size();
    char* to = out.data();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1)) {
            // A byte that does not decode is shown as "?" and skipped.
            if (outLeft == 0)
                break;
            *to++ = '?';
            --outLeft;
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The reader writes paths in any letter case ("ORVMtools"); find each component as it exists.
fs::path ResolveNoCase(const fs::path& base, const std::vector<std::string>& parts)
{
    fs::path at = base;
    for (const auto& part : parts) {
        fs::path exact = at / part;
        std::error_code ec;
        if (fs::exists(exact, ec)) {
            at = exact;
            continue;
        }
        bool found = false;
        for (const auto& entry : fs::directory_iterator(at, ec)) {
            if (Lower(entry.path().filename().string()) == Lower(part)) {
                at = entry.path();
                found = true;
                break;
            }
        }
        if (!found)
            return {};
    }
    return at;
}

std::string SharedText()
{
    int fd = shm_open("/ORVBOOKPATH", O_RDONLY, 0);
    if (fd < 0)
        return "(none)";
    const std::size_t size = 4096;
    void* view = mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    close(fd);
    if (view == MAP_FAILED)
        return "(not readable)";
    const char* text = static_cast<const char*>(view);
    std::string bytes(text, strnlen(text, size));
    munmap(view, size);
    return Gb18030ToUtf8(bytes);
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One log line holds everything, so line ends inside values are written as \n.
std::string OneLine(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

bool HasDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && (std::strcmp(platform, "offscreen") == 0 || std::strcmp(platform, "minimal") == 0))
        return false;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv)
{
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        self = fs::absolute(argv[0], ec);
    fs::path folder = self.parent_path();
    std::string name = self.filename().string();
    std::string base = self.stem().string();

    bool window = HasDisplay();
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--no-window")
            window = false;
        else if (arg == "--help") {
            std::cout
                << "usage: " << name << " [--no-window] [ARGUMENTS...]\n"
                << "Shows and logs its arguments, working folder, the shared text /ORVBOOKPATH and, when\n"
                << "started as CadRelay.Exe, the hand-off file ORVMTools/userdef/userdata/ORVBookCAD.ini.\n";
            return 0;
        } else
            args.push_back(arg);
    }

    std::string cwd = fs::current_path(ec).string();
    std::string shared = SharedText();
    std::string handoff;
    if (Lower(base) == "cadrelay") {
        fs::path file = ResolveNoCase(folder, { "ORVMTools", "userdef", "userdata", "ORVBookCAD.ini" });
        handoff = file.empty() ? "(none)" : Gb18030ToUtf8(ReadFile(file));
    }

    std::ostringstream text;
    text << name << " 收到 " << args.size() << " 个参数:\n";
    for (std::size_t i = 0; i < args.size(); ++i)
        text << "  [" << i + 1 << "] " << args[i] << "\n";
    text << "工作目录: " << cwd << "\n共享路径 /ORVBOOKPATH: " << shared << "\n";
    if (!handoff.empty())
        text << "交接文件 ORVBookCAD.ini:\n" << handoff << "\n";

    std::time_t now = std::time(nullptr);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    std::ostringstream line;
    line << stamp << "\tprogram=" << name << "\targs=";
    for (std::size_t i = 0; i < args.size(); ++i)
        line << (i ? "|" : "") << OneLine(args[i]);
    line << "\tcwd=" << cwd << "\tshared=" << OneLine(shared);
    if (!handoff.empty())
        line << "\thandoff=" << OneLine(handoff);
    std::ofstream log(folder / (base + ".log"), std::ios::app);
    log << line.str() << "\n";

    if (!window) {
        std::cout << text.str();
        return 0;
    }
    QApplication app(argc, argv);
    QMessageBox box(
        QMessageBox::Information, QString::fromStdString(name), QString::fromStdString(text.str()));
    box.exec();
    return 0;
}

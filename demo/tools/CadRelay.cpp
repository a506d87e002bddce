// The demo's CadRelay.Exe: it stands where the tool suite's relay program would pass an
// insertion on to the CAD program, and shows instead what it received. Each start appends one
// record to CadRelay.log beside the hand-off file (ORVMTools/userdef/userdata): the time, the
// working folder, the argument and the hand-off file's section ORVBookInsert, tab-separated,
// with bytes below 0x20 and "%" written as %HH. Then, when a display is present and
// ORV_CADRELAY_NO_WINDOW is not set, a small window shows the call, the drawing it names
// (its preview when one lies beside it) and whether the drawing file exists; it closes itself
// after $ORV_CADRELAY_SECONDS seconds when that is set, or saves its picture to
// $ORV_CADRELAY_SCREENSHOT and closes.

#include "browser/render/PreviewPicture.h"
#include "cadlink/CadText.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <iconv.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
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

// A file or folder named in any letter case, as the reader writes names ("ORVMtools").
fs::path FindNoCase(const fs::path& folder, const std::string& name)
{
    std::error_code ec;
    if (fs::exists(folder / name, ec))
        return folder / name;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (Lower(entry.path().filename().string()) == Lower(name))
            return entry.path();
    return {};
}

// The section ORVBookInsert of the hand-off file, its lines joined.
std::string HandoffSection(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string line, out;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inside = Lower(line) == "[orvbookinsert]";
            continue;
        }
        if (inside && !line.empty())
            out += (out.empty() ? "" : "\n") + Gb18030ToUtf8(line);
    }
    return out;
}

// The strings of an AutoLISP call, "\\" and "\"" undone.
std::vector<std::string> LispStrings(const std::string& call)
{
    std::vector<std::string> strings;
    for (std::size_t i = 0; i < call.size(); ++i) {
        if (call[i] != '"')
            continue;
        std::string text;
        for (++i; i < call.size() && call[i] != '"'; ++i) {
            if (call[i] == '\\' && i + 1 < call.size())
                ++i;
            text += call[i];
        }
        strings.push_back(text);
    }
    return strings;
}

// The drawing's preview as the gallery would show it: a picture or slide of the same name
// beside it, or the member of that name in one of the folder's slide libraries.
QImage Preview(const fs::path& folder, const std::string& name)
{
    const std::string stem = fs::path(name).stem().string();
    std::vector<std::string> candidates;
    for (const char* extension : { ".png", ".jpg", ".jpeg", ".gif", ".bmp", ".wmf", ".sld" }) {
        fs::path found = FindNoCase(folder, stem + extension);
        if (!found.empty())
            candidates.push_back(found.string());
    }
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (Lower(entry.path().extension().string()) == ".slb")
            candidates.push_back((folder / (entry.path().stem().string() + "(" + stem + ").slb")).string());
    for (const std::string& candidate : candidates) {
        std::string format, error;
        QImage image = orv::RenderPictureFile(
            orv::platform::ProgramPath(candidate), QSize(320, 200), QColor(0, 0, 0), format, error);
        if (!image.isNull())
            return image;
    }
    return QImage();
}

// The drawing package of the folder that lists the member in its index (NAME.idx beside
// NAME.dwz, one member name a line followed by its size line).
std::string PackageHolding(const fs::path& folder, const std::string& member)
{
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (Lower(entry.path().extension().string()) != ".dwz")
            continue;
        fs::path index = FindNoCase(folder, entry.path().stem().string() + ".idx");
        std::ifstream in(index, std::ios::binary);
        std::string line;
        while (!index.empty() && std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (Lower(line) == Lower(member))
                return entry.path().filename().string();
        }
    }
    return std::string();
}

bool ShowWindow()
{
    if (std::getenv("ORV_CADRELAY_NO_WINDOW"))
        return false;
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && (std::strcmp(platform, "offscreen") == 0 || std::strcmp(platform, "minimal") == 0))
        return false;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv)
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    fs::path userdata = self.parent_path();
    for (const char* part : { "ORVMTools", "userdef", "userdata" }) {
        fs::path found = FindNoCase(userdata, part);
        userdata = found.empty() ? userdata / part : found;
    }
    fs::create_directories(userdata, ec);
    const fs::path handoffFile = FindNoCase(userdata, "ORVBookCAD.ini");
    const std::string handoff = handoffFile.empty() ? std::string() : HandoffSection(handoffFile);
    const std::string argument = Gb18030ToUtf8(argc > 1 ? argv[1] : "");
    const std::string cwd = fs::current_path(ec).string();

    std::time_t now = std::time(nullptr);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    std::ofstream(userdata / "CadRelay.log", std::ios::app)
        << stamp << "\tcwd=" << orv::PercentEscapeControls(cwd)
        << "\targ=" << orv::PercentEscapeControls(argument)
        << "\thandoff=" << orv::PercentEscapeControls(handoff) << "\n";

    if (!ShowWindow())
        return 0;

    const std::vector<std::string> strings = LispStrings(argument);
    const fs::path folder = strings.size() >= 3 ? fs::path(strings[2]) : fs::path();
    std::string name = strings.size() >= 4 ? strings[3] : std::string();
    fs::path drawing = folder.empty() || name.empty() ? fs::path() : FindNoCase(folder, name);
    // The driven form names its drawing without the extension.
    for (const char* extension : { ".dwg", ".dxf" })
        if (drawing.empty() && !name.empty() && !folder.empty())
            drawing = FindNoCase(folder, name + extension);

    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("CadRelay.Exe (演示)"));
    auto* layout = new QVBoxLayout(&window);
    const auto text = [](const std::string& utf8) { return QString::fromStdString(utf8); };
    auto* call = new QLabel(QStringLiteral("<b>收到的插入命令</b><br>") + text(argument).toHtmlEscaped());
    call->setWordWrap(true);
    call->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(call);
    if (!strings.empty()) {
        const bool driven = strings[0] == "ORV_BeginInsertOrvBookDrvDrawing";
        layout->addWidget(new QLabel((driven ? QStringLiteral("图件：") : QStringLiteral("图库："))
            + text(strings.size() > 1 ? strings[1] : "")));
        layout->addWidget(new QLabel(QStringLiteral("目录：") + text(folder.string())));
        const std::string package
            = drawing.empty() && !folder.empty() ? PackageHolding(folder, name) : std::string();
        QString where = QStringLiteral("（不存在）");
        if (!drawing.empty())
            where = QStringLiteral("（存在：%1）").arg(text(drawing.filename().string()));
        else if (!package.empty())
            where = QStringLiteral("（在图形包 %1 中）").arg(text(package));
        layout->addWidget(new QLabel(QStringLiteral("文件：") + text(name) + where));
    }
    const QImage preview = folder.empty() ? QImage() : Preview(folder, name);
    if (!preview.isNull()) {
        auto* label = new QLabel;
        label->setPixmap(QPixmap::fromImage(preview));
        layout->addWidget(label);
    }
    auto* section = new QLabel(QStringLiteral("<b>交接文件 [ORVBookInsert]</b><br>")
        + (handoff.empty() ? QStringLiteral("（无）") : text(handoff).toHtmlEscaped().replace('\n', "<br>")));
    section->setWordWrap(true);
    layout->addWidget(section);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QWidget::close);
    layout->addWidget(buttons);
    window.resize(560, window.sizeHint().height());
    window.show();
    if (const char* seconds = std::getenv("ORV_CADRELAY_SECONDS"))
        QTimer::singleShot(std::atoi(seconds) * 1000, &window, &QWidget::close);
    // For a look at the window in a headless run: its picture, then the end.
    if (const char* shot = std::getenv("ORV_CADRELAY_SCREENSHOT"))
        QTimer::singleShot(500, &window, [&window, shot] {
            window.grab().save(QString::fromLocal8Bit(shot));
            window.close();
        });
    return app.exec();
}

#include "builder/SampleGallery.h"

#include "builder/GalleryDatabase.h"

#include <cstdint>

namespace orv {
namespace {

constexpr int kSpecialities = 8;
// About this many bytes of GB18030 page text per directory: 20,000 directories make 50 MB.
constexpr std::size_t kPageTextBytes = 2560;

std::string Num(long long v)
{
    return std::to_string(v);
}

// A small deterministic generator, so every run writes the same gallery.
class Words {
public:
    explicit Words(std::uint32_t seed)
        : m_state(seed * 2654435761u + 12345u)
    {
    }
    std::uint32_t Next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    // Paragraphs of engineering words, about bytes long in GB18030 (two bytes a character).
    std::string Paragraphs(std::size_t bytes)
    {
        static const char* const kWords[] = {"螺栓", "螺母", "垫圈", "法兰", "轴承", "轴", "齿轮", "键", "销",
            "弹簧", "联轴器", "密封", "公称直径", "螺距", "长度", "材料", "强度等级", "表面处理", "镀锌", "发黑",
            "碳钢", "不锈钢", "合金钢", "热处理", "公差", "配合", "粗糙度", "安装", "拆卸", "润滑", "载荷", "转速",
            "额定", "寿命", "精度", "标准", "规格", "型号", "尺寸", "重量", "压力", "温度", "管道", "阀门", "焊接",
            "铸造", "锻造", "加工", "检验", "图样"};
        constexpr std::size_t kCount = sizeof kWords / sizeof kWords[0];
        std::string text = "<p>";
        std::size_t size = 0;
        int inSentence = 0;
        while (size < bytes) {
            const char* word = kWords[Next() % kCount];
            text += word;
            size += std::string(word).size() * 2 / 3; // UTF-8 three bytes a character, GB18030 two
            if (Next() % 7 == 0) {
                std::string number = "M" + Num(6 + Next() % 30);
                text += number;
                size += number.size();
            }
            if (++inSentence > 8 && Next() % 3 == 0) {
                text += "。";
                size += 2;
                inSentence = 0;
                if (Next() % 4 == 0)
                    text += "</p>\n<p>";
            }
        }
        return text + "。</p>";
    }

private:
    std::uint32_t m_state;
};

std::string Page(const std::string& title, const std::string& body)
{
    return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"><title>" + title
        + "</title></head><body><h2>" + title + "</h2>\n" + body + "\n</body></html>\n";
}

// A preview drawn from the drawing's number: a plate with holes of varying sizes.
DrawingDescription Preview(int g)
{
    const double w = 40 + g % 30, h = 20 + g % 17, r = 2 + g % 5;
    DrawingDescription d;
    d.Items.push_back({DrawingItem::Kind::Polyline, {0, 0, w, 0, w, h, 0, h}, true, 7, "", 0});
    d.Items.push_back({DrawingItem::Kind::Circle, {w / 4, h / 2, r}, false, 1 + g % 6, "", 0});
    d.Items.push_back({DrawingItem::Kind::Circle, {w * 3 / 4, h / 2, r}, false, 1 + g % 6, "", 0});
    d.Items.push_back({DrawingItem::Kind::Fill, {w / 2 - 2, 0, w / 2 + 2, 0, w / 2, h / 3}, false, 3, "", 0});
    return d;
}

ManifestFile TextFile(std::string path, std::string text)
{
    ManifestFile file;
    file.Path = std::move(path);
    file.Content.Type = ManifestContent::Kind::Text;
    file.Content.Text = std::move(text);
    file.Content.Where = "sample " + file.Path;
    return file;
}

ManifestMember TextMember(std::string name, std::string text)
{
    ManifestMember member;
    member.Name = std::move(name);
    member.Content.Type = ManifestContent::Kind::Text;
    member.Content.Text = std::move(text);
    return member;
}

ManifestFile Library(std::string path, std::vector<ManifestMember> members)
{
    ManifestFile file;
    file.Path = std::move(path);
    file.Content.Type = ManifestContent::Kind::Members;
    file.Content.Where = "sample " + file.Path;
    file.Members = std::move(members);
    return file;
}

void AddContent(GalleryManifest& m)
{
    std::vector<std::vector<ManifestMember>> previews(m.Directories.size() + 1);
    for (const ManifestDrawing& g : m.Drawings) {
        ManifestMember member;
        member.Name = "P" + Num(g.Id);
        member.Content.Type = ManifestContent::Kind::Drawing;
        member.Content.Drawing = Preview(g.Id);
        member.Content.Where = "sample drawing " + Num(g.Id);
        previews[static_cast<std::size_t>(g.Dir)].push_back(std::move(member));
    }
    for (const ManifestDirectory& d : m.Directories) {
        const std::string spec = "Spec" + Num(d.Spec);
        const std::string folder = spec + "\\Dir" + Num(d.Id);
        const std::string title = d.Name.value_or("");
        Words words(static_cast<std::uint32_t>(d.Id));
        const std::string page = Page(title, words.Paragraphs(kPageTextBytes));
        if (d.SourceContent)
            m.Files.push_back(TextFile(spec + "\\" + *d.SourceContent, page));
        else if (d.Compressed)
            m.Files.push_back(Library(folder + "\\Pack" + Num(d.Id) + ".htz", {TextMember("Page" + Num(d.Id) + ".htm", page)}));
        else
            m.Files.push_back(TextFile(folder + "\\Page" + Num(d.Id) + ".htm", page));
        if (d.Compressed)
            m.Files.push_back(Library(folder + "\\Pack" + Num(d.Id) + "_files.flz",
                {TextMember("Page" + Num(d.Id) + ".files\\style.css", "body { font-size: 10.5pt; }\n")}));
        for (const std::string& extra : d.Pages)
            m.Files.push_back(TextFile(folder + "\\" + extra, Page(title + " " + extra, words.Paragraphs(200))));
        if (!previews[static_cast<std::size_t>(d.Id)].empty())
            m.Files.push_back(Library(folder + "\\Dir" + Num(d.Id) + ".slb", std::move(previews[static_cast<std::size_t>(d.Id)])));
    }
    m.HasKeywords = true;
    for (const ManifestIndexEntry& entry : m.Index)
        m.Keywords.push_back(*entry.Name);
    for (const char* word : {"螺栓", "螺母", "垫圈", "法兰", "轴承", "齿轮"})
        m.Keywords.push_back(word);
}

} // namespace

GalleryManifest SampleGalleryManifest(SampleGallerySize size, bool withContent)
{
    GalleryManifest m;
    m.Name = "Sample";
    m.GalleryName = "机械设计图库";
    m.Version = "2.0";
    m.Date = "2024-05-06";
    for (const char* name : {"Status1", "AppClass", "FunClass", "ShpClass"})
        m.Titles.emplace_back(name, std::string("类别 ") + name);
    for (const char* name : {"HasTextContents", "HasTextSearch", "HasDwgKeyword", "HasSrcPreview"})
        m.Settings.emplace_back(name, "1");
    for (int s = 1; s <= kSpecialities; ++s)
        m.Specialities.push_back({s, "专业" + Num(s), "\\Spec" + Num(s), kSpecialities - s});
    for (int d = 1; d <= size.Directories; ++d) {
        ManifestDirectory dir;
        dir.Id = d;
        // A tree: every directory below the one a tenth of its number, the first ones at the top.
        dir.Parent = d <= kSpecialities * 4 ? 0 : d / 10;
        dir.Spec = d % kSpecialities + 1;
        dir.Name = "目录 " + Num(d) + " 零件";
        dir.Type = d % 4;
        dir.Path = "\\Dir" + Num(d);
        dir.Compressed = d % 25 == 0 ? 1 : 0;
        dir.Content = dir.Compressed ? "Pack" + Num(d) + "(Page" + Num(d) + ")" : "Page" + Num(d) + ".htm";
        if (d % 50 == 0)
            dir.SourceContent = "Src\\S" + Num(d) + ".htm";
        if (d % 97 == 0)
            dir.Mark = "add:Tool" + Num(d) + ".exe";
        dir.Visible = d % 113 == 0 ? -1 : d;
        if (d % 10 == 0)
            for (int p = 0; p < 3; ++p)
                dir.Pages.push_back("Page" + Num(d) + "_" + Num(p) + ".htm");
        m.Directories.push_back(std::move(dir));
        if (d % 5 == 0)
            m.Index.push_back({"关键词" + Num(d), Num(d), d});
    }
    for (int g = 1; g <= size.Drawings; ++g) {
        const int dir = size.Directories > 0 ? g % size.Directories + 1 : 0;
        ManifestDrawing d;
        d.Id = g;
        d.Dir = dir;
        d.Spec = dir % kSpecialities + 1;
        d.Name = "DWG" + Num(g);
        d.Caption = "图样 " + Num(g);
        if (g % 3)
            d.Status1 = "状态" + Num(g % 5);
        d.AppClass = "应用" + Num(g % 7);
        d.FunClass = "功能" + Num(g % 11);
        d.ShpClass = "形状" + Num(g % 13);
        std::string keywords = "齿轮 轴承 螺栓 " + Num(g);
        if (g % 100 == 7)
            for (int k = 0; k < 200; ++k)
                keywords += " 关键词" + Num(k); // a long memo now and then
        d.Keywords = keywords;
        d.Preview = "Dir" + Num(dir) + "(P" + Num(g) + ").sld";
        d.File = "D" + Num(g) + ".dwg";
        d.Block = "BLK" + Num(g);
        d.Driver = g % 5;
        d.Bound = g % 20 == 0 ? g - 1 : 0;
        d.UserType = g % 3;
        if (g % 10 == 0) {
            m.Memberships.push_back({dir, g, g});
            d.Data.push_back({"长度", 1, g * 0.5, std::nullopt});
            d.Data.push_back({"材料", 2, std::nullopt, "45号钢"});
        }
        if (g % 5 == 1)
            d.DimDriver = ManifestDimDriver {"App" + Num(g), "Fun" + Num(g), "\\Def\\" + Num(g), "Drv" + Num(g)};
        if (g % 50 == 0)
            m.Actions.push_back({dir, g, "Tools\\Run.exe", "-d " + Num(g), "1,2"});
        m.Drawings.push_back(std::move(d));
    }
    m.FullTextForm = withContent ? GalleryManifest::FullText::Compressed : GalleryManifest::FullText::None;
    if (withContent)
        AddContent(m);
    return m;
}

bool WriteSampleAccessGallery(std::string_view programPath, std::string_view password, SampleGallerySize size,
    std::string& error)
{
    const GalleryManifest manifest = SampleGalleryManifest(size, false);
    return WriteGalleryDatabase(
        manifest, GalleryRows(manifest), std::string(programPath), false, std::string(password), error);
}

} // namespace orv

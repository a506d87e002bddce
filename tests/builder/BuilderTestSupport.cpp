#include "BuilderTestSupport.h"

namespace orv::test {

std::string SmallManifest()
{
    return R"json({
  "name": "Mech",
  "gallery": {"name": "机械图库", "version": "1.0", "date": "2026-12-01"},
  "titles": {"Status1": "标准", "AppClass": "应用"},
  "settings": {"HasTextSearch": "1", "HasSrcPreview": "0"},
  "sourceEncoding": "utf-8",
  "specialities": [
    {"id": 1, "name": "紧固件", "path": "\\Fasten"},
    {"id": 2, "name": "传动件", "path": "\\Drive", "order": 0}
  ],
  "directories": [
    {"id": 1, "spec": 1, "name": "螺栓", "path": "\\Bolts", "content": "bolts.htm"},
    {"id": 2, "spec": 1, "parent": 1, "name": "六角头螺栓", "type": 1, "path": "\\Bolts",
     "content": "HEX(A1)", "compressed": 1, "mark": "sizes"},
    {"id": 3, "spec": 2, "name": "轴", "path": "\\Shafts", "sourceContent": "Shafts\\p1.htm",
     "pages": ["p1.htm", "p2.htm", "P3.HTM"], "visible": -1},
    {"id": 4, "spec": 2, "parent": 3, "name": "工具", "mark": "add:ORVMTools\\Calc.exe,<root>\\data", "content": ""}
  ],
  "index": [{"name": "螺栓", "dir": 1}, {"name": "螺栓", "dir": "2"}, {"name": "坏", "dir": 12.7}],
  "keywords": ["螺栓", "轴"],
  "drawings": [
    {"id": 10, "dir": 2, "name": "M12", "caption": "六角头螺栓 M12", "status1": "GB/T 5782",
     "preview": "BOLTS(M12).sld", "file": "M12.dwg", "driver": 1,
     "data": [{"caption": "公称直径", "number": 12}, {"caption": "材料", "text": "Q235"}],
     "dimDriver": {"app": "App", "fun": "Fun", "path": "Def", "name": "Drv"}},
    {"id": 11, "dir": 2, "spec": 2, "name": "M16", "bound": 10, "path": "\\Else", "userType": 3},
    {"id": 12, "dir": 3, "name": "Shaft", "preview": "shaft.sld", "path": null}
  ],
  "memberships": [{"dir": 3, "drawing": 10}],
  "actions": [{"dir": 1, "app": "ORVMTools\\Calc.exe", "func": "-x"}],
  "files": [
    {"path": "Fasten\\Bolts\\bolts.htm", "source": "pages/bolts.htm"},
    {"path": "Fasten/bolts/HEX.htz", "members": [
      {"name": "A1.htm", "text": "<html><body><a name=\"sizes\"></a><p>M12 &amp; M16</p></body></html>"}
    ]},
    {"path": "Fasten\\Bolts\\HEX_files.flz", "members": [
      {"name": "A1.files\\m12.txt", "text": "companion"}
    ]},
    {"path": "Fasten\\Bolts\\BOLTS.slb", "members": [
      {"name": "M12", "drawing": {"items": [{"polyline": [0, 0, 60, 0, 60, 12, 0, 12], "closed": true, "color": 7},
                                             {"circle": [30, 6, 4], "color": 1}]}}
    ]},
    {"path": "Drive\\Shafts\\shaft.sld", "drawing": {"items": [{"fill": [0, 0, 10, 0, 10, 3], "color": 3}]}},
    {"path": "Drive\\Shafts\\p1.htm", "text": "<p>第一页 轴承</p>"},
    {"path": "Drive\\Shafts\\p2.htm", "text": "<p>第二页</p>"},
    {"path": "Drive\\Shafts\\p3.htm", "text": "<p>第三页</p>"},
    {"path": "Pictures\\a.jpg", "drawing": {"items": [{"circle": [0, 0, 5], "color": 1}]}},
    {"path": "Pictures\\a.gif", "drawing": {"items": [{"circle": [0, 0, 5], "color": 2}]}},
    {"path": "Pictures\\a.bmp", "size": [64, 48], "drawing": {"items": [{"line": [0, 0, 5, 5]}]}},
    {"path": "Pictures\\a.png", "size": [100, 50], "background": "#202020",
     "drawing": {"items": [{"line": [0, 0, 5, 5]}]}},
    {"path": "Pictures\\a.wmf", "drawing": {"items": [{"line": [0, 0, 5, 5]},
                                                        {"text": "螺栓 M12", "at": [0, 6], "height": 1}]}}
  ]
})json";
}

std::string WriteSmallManifest(const TempFolder& folder, const std::string& manifest)
{
    WriteFile(folder.NativeAt("src/pages/bolts.htm"),
        "<html><head><title>螺栓</title><style>p {}</style></head><body><h1>螺栓</h1><p>六角头&nbsp;螺栓</p>"
        "<script>var t = '<p>no</p>';</script></body></html>");
    WriteFile(folder.NativeAt("src/gallery.json"), manifest);
    return folder.NativeAt("src/gallery.json");
}

} // namespace orv::test

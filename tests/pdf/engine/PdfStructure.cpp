#include "PdfStructure.h"

#include "ToolRunner.h"

#include <sstream>

namespace {

// qpdf's JSON (version 2) read by a short script; strings lose their
// "u:"/"b:" markers and names their slash.
const char* const kCommon = R"PY(
import json, sys
d = json.load(sys.stdin)
objs = d["qpdf"][1]
def val(ref): return objs["obj:" + ref]["value"]
def s(x):
    if isinstance(x, str) and x.startswith("u:"): return x[2:]
    if isinstance(x, str) and x.startswith("b:"):
        raw = bytes.fromhex(x[2:])
        return raw[2:].decode("utf-16-be") if raw[:2] == b"\xfe\xff" else raw.decode("latin-1")
    if isinstance(x, str) and x.startswith("/"): return x[1:]
    return "-" if x is None else str(x)
)PY";

const char* const kOutline = R"PY(
def tree(items):
    out = []
    for i in items:
        e = i["title"] + "(" + s(val(i["object"]).get("/Count")) + ")"
        if i["kids"]: e += "[" + tree(i["kids"]) + "]"
        out.append(e)
    return " ".join(out)
print(tree(d["outlines"]), end="")
)PY";

const char* const kAnnotations = R"PY(
for n, p in enumerate(d["pages"], 1):
    for ref in val(p["object"]).get("/Annots", []):
        a = val(ref)
        act = a.get("/A", {})
        target = next((act[k] for k in ("/URI", "/F", "/N", "/D") if k in act), None)
        action = s(act.get("/S")) + " " + s(target) if act else "-"
        print(n, s(a["/Subtype"]), s(a.get("/Name")), action, s(a.get("/Contents")))
)PY";

const char* const kRects = R"PY(
for p in d["pages"]:
    for ref in val(p["object"]).get("/Annots", []):
        print(*val(ref)["/Rect"])
)PY";

std::string runScript(const std::string& path, const std::vector<std::string>& keys, const std::string& script)
{
    std::vector<std::string> args{"qpdf", "--json"};
    for (const auto& key : keys)
        args.push_back("--json-key=" + key);
    args.push_back(path);
    const ToolResult json = runTool(args);
    if (json.exitCode != 0)
        return "qpdf failed: " + json.err;
    const ToolResult r = runTool({"python3", "-c", std::string(kCommon) + script}, json.out);
    return r.exitCode == 0 ? r.out : "script failed: " + r.err;
}

} // namespace

std::string outlineTree(const std::string& path)
{
    return runScript(path, {"outlines", "qpdf"}, kOutline);
}

std::string annotationLines(const std::string& path)
{
    return runScript(path, {"pages", "qpdf"}, kAnnotations);
}

std::vector<AnnotationRect> annotationRects(const std::string& path)
{
    std::istringstream lines(runScript(path, {"pages", "qpdf"}, kRects));
    std::vector<AnnotationRect> rects;
    AnnotationRect r{};
    while (lines >> r.x1 >> r.y1 >> r.x2 >> r.y2)
        rects.push_back(r);
    return rects;
}

// Writes the window's control table as JSON, for the scripts and tests that
// drive the real window from outside: they find each control by its name
// and never type a coordinate of their own.
//   controltablejson OUT.json
#include "controltable.h"

#include <fstream>
#include <iostream>
#include <string>

namespace {

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out + '"';
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::cerr << "usage: controltablejson OUT.json\n";
        return 2;
    }
    std::ofstream out(argv[1]);
    out << "{\n  \"caption\": " << quoted(WindowCaption) << ",\n  \"width\": " << WindowWidth
        << ",\n  \"height\": " << WindowHeight << ",\n  \"controls\": [\n";
    bool first = true;
    for (const ControlRow &row : ControlTable) {
        const Placement &place = row.placement;
        out << (first ? "" : ",\n") << "    {\"name\": " << quoted(controlName(row)) << ", \"kind\": \""
            << kindName(row.kind) << "\", \"text\": " << quoted(row.text) << ", \"x\": " << place.position.x
            << ", \"y\": " << place.position.y << ", \"width\": " << place.size.width
            << ", \"height\": " << place.size.height << ", \"scale\": " << place.scale
            << ", \"focus\": " << row.focusOrder << "}";
        first = false;
    }
    out << "\n  ]\n}\n";
    out.close();
    return out ? 0 : 1;
}

#include "SymbolDrawings.h"

#include "Sketch.h"

#include <cmath>
#include <functional>
#include <utility>

namespace orv::demo {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kBody = kOutline;
constexpr int kAccent = kRed;

// An arrow from one point to another with a filled head at the second.
void Arrow(Sketch& s, double x1, double y1, double x2, double y2, int color = kAccent, double head = 1.6)
{
    s.Line(x1, y1, x2, y2, color);
    double a = std::atan2(y2 - y1, x2 - x1);
    double bx = x2 - head * std::cos(a), by = y2 - head * std::sin(a);
    double px = -std::sin(a) * head * 0.45, py = std::cos(a) * head * 0.45;
    s.Fill({ x2, y2, bx + px, by + py, bx - px, by - py }, color);
}

void Leads(Sketch& s, double left, double right)
{
    s.Line(0, 0, left, 0);
    s.Line(right, 0, 20, 0);
}

void Resistor(Sketch& s)
{
    Leads(s, 5, 15);
    s.FillRect(5, -1.8, 15, 1.8, kMetalColor);
    s.Rect(5, -1.8, 15, 1.8, kBody);
}

void Capacitor(Sketch& s, bool polarised)
{
    Leads(s, 8.8, 11.2);
    s.Line(8.8, -4.5, 8.8, 4.5, kBody);
    if (polarised) {
        s.FillRect(11.2, -4.5, 12.2, 4.5, kBody);
        s.Line(6, 3.5, 8, 3.5, kAccent);
        s.Line(7, 2.5, 7, 4.5, kAccent);
    } else {
        s.Line(11.2, -4.5, 11.2, 4.5, kBody);
    }
}

// Coil bumps from x0 to x1 along y, bulging up.
void Coil(Sketch& s, double x0, double x1, double y, int turns)
{
    double r = (x1 - x0) / turns / 2;
    for (int i = 0; i < turns; ++i)
        s.Arc(x0 + r + 2 * r * i, y, r, 0, 180, kBody);
}

void Diode(Sketch& s)
{
    Leads(s, 7, 13);
    s.Fill({ 7, -3.5, 7, 3.5, 13, 0 }, kSteelBlue);
    s.Polyline({ 7, -3.5, 7, 3.5, 13, 0 }, true, kBody);
    s.Line(13, -3.5, 13, 3.5, kBody);
}

void Transistor(Sketch& s, bool npn)
{
    s.Circle(11, 0, 7, kBody);
    s.Line(0, 0, 8, 0);
    s.FillRect(8, -4, 8.8, 4, kBody);
    s.Line(8.8, 1.8, 13, 5.5, kBody);
    s.Line(13, 5.5, 13, 10);
    s.Line(13, -5.5, 13, -10);
    if (npn)
        Arrow(s, 8.8, -1.8, 13, -5.5, kAccent, 2.2);
    else {
        s.Line(13, -5.5, 8.8, -1.8, kBody);
        Arrow(s, 11.6, -4.3, 9.4, -2.3, kAccent, 2.2);
    }
}

void Contact(Sketch& s, bool closed)
{
    Leads(s, 7, 14);
    s.Line(14, 0, 14, closed ? -2.5 : 1.5, kBody);
    if (closed)
        s.Line(7, 0, 15, -2.2, kBody);
    else
        s.Line(7, 0, 14.5, 4.5, kBody);
    s.FillCircle(7, 0, 0.6, kBody);
}

void Machine(Sketch& s, char letter)
{
    Leads(s, 3, 17);
    s.FillCircle(10, 0, 7, kMetalColor);
    s.Circle(10, 0, 7, kBody);
    if (letter == 'M')
        s.Polyline({ 7, -3, 7, 3, 10, 0, 13, 3, 13, -3 }, false, kAccent);
    else if (letter == 'G') {
        s.Arc(10, 0, 3.2, 30, 330, kAccent);
        s.Polyline({ 10.5, 0, 13, 0, 13, -1.6 }, false, kAccent);
    } else if (letter == 'A') {
        s.Polyline({ 7.5, -3, 10, 3.5, 12.5, -3 }, false, kAccent);
        s.Line(8.5, -0.5, 11.5, -0.5, kAccent);
    } else if (letter == 'V') {
        s.Polyline({ 7.5, 3.5, 10, -3, 12.5, 3.5 }, false, kAccent);
    } else if (letter == '~') {
        s.Arc(8.5, 0, 1.5, 0, 180, kAccent);
        s.Arc(11.5, 0, 1.5, 180, 360, kAccent);
    } else if (letter == '=') {
        s.Line(7, 1, 13, 1, kAccent);
        s.Line(7, -1, 8.5, -1, kAccent);
        s.Line(9.5, -1, 10.5, -1, kAccent);
        s.Line(11.5, -1, 13, -1, kAccent);
    }
}

void Ground(Sketch& s, bool protective)
{
    s.Line(10, 10, 10, 2);
    s.Line(4, 2, 16, 2, kBody);
    s.Line(6, 0, 14, 0, kBody);
    s.Line(8, -2, 12, -2, kBody);
    if (protective)
        s.Circle(10, 0.5, 7.5, kGreen);
}

using SymbolFunction = std::function<void(Sketch&)>;

const std::vector<std::pair<std::string, SymbolFunction>>& Symbols()
{
    static const std::vector<std::pair<std::string, SymbolFunction>> symbols = {
        { "resistor", [](Sketch& s) { Resistor(s); } },
        { "varresistor",
            [](Sketch& s) {
                Resistor(s);
                Arrow(s, 4, -5, 16, 5);
            } },
        { "potentiometer",
            [](Sketch& s) {
                Resistor(s);
                s.Line(10, 7, 16, 7, kBody);
                Arrow(s, 10, 7, 10, 1.8);
            } },
        { "thermistor",
            [](Sketch& s) {
                Resistor(s);
                s.Polyline({ 3, -5, 6, -5, 15, 5 }, false, kAccent);
            } },
        { "capacitor", [](Sketch& s) { Capacitor(s, false); } },
        { "electrolytic", [](Sketch& s) { Capacitor(s, true); } },
        { "varcapacitor",
            [](Sketch& s) {
                Capacitor(s, false);
                Arrow(s, 5, -5.5, 15, 5.5);
            } },
        { "inductor",
            [](Sketch& s) {
                Leads(s, 4, 16);
                Coil(s, 4, 16, 0, 4);
            } },
        { "coreinductor",
            [](Sketch& s) {
                Leads(s, 4, 16);
                Coil(s, 4, 16, 0, 4);
                s.Line(4, 3, 16, 3, kDarkColor);
                s.Line(4, 4, 16, 4, kDarkColor);
            } },
        { "transformer",
            [](Sketch& s) {
                s.Line(0, 5, 6, 5);
                s.Line(0, -5, 6, -5);
                s.Line(14, 5, 20, 5);
                s.Line(14, -5, 20, -5);
                for (int i = 0; i < 4; ++i) {
                    s.Arc(6, 3.75 - 2.5 * i, 1.25, -90, 90, kBody);
                    s.Arc(14, 3.75 - 2.5 * i, 1.25, 90, 270, kBody);
                }
                s.Line(9.6, -6, 9.6, 6, kDarkColor);
                s.Line(10.4, -6, 10.4, 6, kDarkColor);
            } },
        { "diode", [](Sketch& s) { Diode(s); } },
        { "zener",
            [](Sketch& s) {
                Diode(s);
                s.Line(13, 3.5, 14.2, 4.5, kBody);
                s.Line(13, -3.5, 11.8, -4.5, kBody);
            } },
        { "led",
            [](Sketch& s) {
                Diode(s);
                Arrow(s, 10, 4.5, 13, 8);
                Arrow(s, 12.5, 3.5, 15.5, 7);
            } },
        { "photodiode",
            [](Sketch& s) {
                Diode(s);
                Arrow(s, 13, 8, 10, 4.5);
                Arrow(s, 15.5, 7, 12.5, 3.5);
            } },
        { "npn", [](Sketch& s) { Transistor(s, true); } },
        { "pnp", [](Sketch& s) { Transistor(s, false); } },
        { "nmos",
            [](Sketch& s) {
                s.Line(0, -3, 7, -3);
                s.Line(7, -3, 7, 3, kBody);
                for (double y : { -3.5, 0.0, 3.5 })
                    s.Line(9, y - 1.2, 9, y + 1.2, kBody);
                s.Line(9, 3.5, 14, 3.5);
                s.Line(14, 3.5, 14, 9);
                s.Line(9, -3.5, 14, -3.5);
                s.Line(14, -3.5, 14, -9);
                Arrow(s, 14, 0, 9.4, 0, kAccent, 2.0);
                s.Line(14, 0, 14, -3.5);
            } },
        { "contact_no", [](Sketch& s) { Contact(s, false); } },
        { "contact_nc", [](Sketch& s) { Contact(s, true); } },
        { "pushbutton",
            [](Sketch& s) {
                Contact(s, false);
                for (double y = 2.8; y < 7.5; y += 1.6)
                    s.Line(10.5, y, 10.5, y + 0.9, kAccent);
                s.Polyline({ 8.5, 7.2, 8.5, 8.2, 12.5, 8.2, 12.5, 7.2 }, false, kBody);
            } },
        { "changeover",
            [](Sketch& s) {
                s.Line(0, 0, 7, 0);
                s.Line(14, 3, 20, 3);
                s.Line(14, -3, 20, -3);
                s.Line(14, 3, 14, 1.5, kBody);
                s.Line(7, 0, 14.5, -3.5, kBody);
                s.FillCircle(7, 0, 0.6, kBody);
            } },
        { "relaycoil",
            [](Sketch& s) {
                Leads(s, 6, 14);
                s.FillRect(6, -4, 14, 4, kMetalColor);
                s.Rect(6, -4, 14, 4, kBody);
                s.Line(6, -4, 14, 4, kAccent);
            } },
        { "battery",
            [](Sketch& s) {
                Leads(s, 8.5, 11.5);
                s.Line(8.5, -5, 8.5, 5, kBody);
                s.FillRect(11.5, -2.5, 12.3, 2.5, kBody);
                s.Line(5, 4, 7, 4, kAccent);
                s.Line(6, 3, 6, 5, kAccent);
            } },
        { "dcsource", [](Sketch& s) { Machine(s, '='); } },
        { "acsource", [](Sketch& s) { Machine(s, '~'); } },
        { "motor", [](Sketch& s) { Machine(s, 'M'); } },
        { "generator", [](Sketch& s) { Machine(s, 'G'); } },
        { "fuse",
            [](Sketch& s) {
                s.FillRect(5, -2, 15, 2, kMetalColor);
                s.Rect(5, -2, 15, 2, kBody);
                s.Line(0, 0, 20, 0);
            } },
        { "ground", [](Sketch& s) { Ground(s, false); } },
        { "protectiveearth", [](Sketch& s) { Ground(s, true); } },
        { "lamp",
            [](Sketch& s) {
                Leads(s, 4, 16);
                s.FillCircle(10, 0, 6, kYellow);
                s.Circle(10, 0, 6, kBody);
                double d = 6 * std::cos(kPi / 4);
                s.Line(10 - d, -d, 10 + d, d, kBody);
                s.Line(10 - d, d, 10 + d, -d, kBody);
            } },
        { "ammeter", [](Sketch& s) { Machine(s, 'A'); } },
        { "voltmeter", [](Sketch& s) { Machine(s, 'V'); } },
    };
    return symbols;
}

} // namespace

bool DrawSymbol(
    const std::string& symbol, const std::string& label, DrawingDescription& drawing, std::string& error)
{
    for (const auto& [name, draw] : Symbols()) {
        if (name != symbol)
            continue;
        Sketch sketch;
        draw(sketch);
        if (!label.empty())
            sketch.Text(label, 0, -14, 3.5);
        drawing = sketch.Take();
        return true;
    }
    error = "unknown symbol " + symbol;
    return false;
}

const std::vector<std::string>& SymbolNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const auto& entry : Symbols())
            out.push_back(entry.first);
        return out;
    }();
    return names;
}

} // namespace orv::demo

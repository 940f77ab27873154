// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Recording stand-ins for the toolkit behind the screens.

#include <map>
#include <string>
#include <vector>

#include "screens/code_page.h"
#include "screens/screen.h"

namespace moltrevane::testing {

struct RecordingDialog : Dialog {
    std::map<int, std::string> texts, utf8;
    std::map<int, bool> enabled, readOnly, checked, shown;
    std::map<int, int> selection;
    std::map<int, std::vector<std::string>> lines;
    int focused = 0, redraws = 0;
    bool timerRunning = false, closed = false, night = false;
    LayoutShape shape = LayoutShape::Design;
    std::vector<std::string> chosenFiles;  // what the file chooser answers

    void SetText(int id, std::string_view text) override { texts[id] = std::string(text); }
    // Kept as the real toolkit reads it back: 8-bit, so directory text sent down the 8-bit
    // path, or the other way round, shows as the wrong characters. What the code page lacks
    // (an arrow) reads back as '?': `utf8` keeps what was shown.
    void SetDirectoryText(int id, std::string_view utf8Text) override {
        SetText(id, CodePageFromUtf8(utf8Text));
        utf8[id] = std::string(utf8Text);
    }
    std::string Text(int id) const override { return texts.count(id) != 0 ? texts.at(id) : std::string(); }
    void SetEnabled(int id, bool on) override { enabled[id] = on; }
    void SetReadOnly(int id, bool on) override { readOnly[id] = on; }
    void Focus(int id) override { focused = id; }
    void SetChecked(int id, bool on) override { checked[id] = on; }
    bool Checked(int id) const override { return checked.count(id) != 0 && checked.at(id); }
    void Select(int id, int item) override { selection[id] = item; }
    int Selection(int id) const override { return selection.count(id) != 0 ? selection.at(id) : -1; }
    void SetLines(int id, const std::vector<std::string>& utf8Lines) override { lines[id] = utf8Lines; }
    void StartTimer() override { timerRunning = true; }
    void StopTimer() override { timerRunning = false; }
    void Redraw() override { ++redraws; }
    void SetNight(bool on) override { night = on; }
    std::vector<std::string> ChooseFiles(std::string_view) override { return chosenFiles; }
    void Close() override { closed = true; }
    void SetShown(int id, bool on) override { shown[id] = on; }
    LayoutShape Shape() const override { return shape; }
};

// Each drawing call as one line of text, e.g. "text 40 27 12:35:19", or "text 42 31 x1.5 12:35:19"
// for larger text.
struct RecordingPainter : Painter {
    std::vector<std::string> calls;
    void UseInk(Ink ink) override {
        static constexpr const char* kNames[] = {"ink live", "ink stale", "ink offline", "ink faint"};  // by Ink
        calls.push_back(kNames[static_cast<int>(ink)]);
    }
    void DrawText(int x, int y, std::string_view text, double size) override {
        const std::string scaled = size == 1.0 ? "" : "x" + std::to_string(size).substr(0, 3) + " ";
        calls.push_back("text " + std::to_string(x) + " " + std::to_string(y) + " " + scaled + std::string(text));
    }
    void FillWhite(int x, int y, int width, int height) override { calls.push_back("fill" + Numbers({x, y, width, height})); }
    void Rectangle(int left, int top, int right, int bottom) override {
        calls.push_back("rectangle" + Numbers({left, top, right, bottom}));
    }
    void Line(int x1, int y1, int x2, int y2) override { calls.push_back("line" + Numbers({x1, y1, x2, y2})); }
    void Ring(int x, int y, int radius) override { calls.push_back("ring" + Numbers({x, y, radius})); }
    void Dot(int x, int y, int radius) override { calls.push_back("dot" + Numbers({x, y, radius})); }

private:
    static std::string Numbers(std::initializer_list<int> values) {
        std::string text;
        for (int v : values) text += " " + std::to_string(v);
        return text;
    }
};

struct RecordingOpener : ScreenOpener {
    std::vector<ScreenKind> opened;
    void Open(ScreenKind kind) override { opened.push_back(kind); }
};

}  // namespace moltrevane::testing

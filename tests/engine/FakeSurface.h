// A search surface for tests: plain containers, and a log of every call
// that changes something, in order.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "SearchSurface.h"

namespace lexigrove::testing {

class FakeSurface : public SearchSurface {
public:
    std::string text;
    bool clearBeforeFind = false;
    bool optionsEnabled = true;
    std::array<bool, kLengthOptionCount> options{};
    std::vector<std::string> lines;
    std::vector<std::string> messages;
    std::vector<std::string> calls;
    ProgressModel progress;
    int updateDepth = 0;
    bool buttonsEnabled = true;
    int positionSets = 0;
    int lastPositionSet = -1;

    explicit FakeSurface(std::string typed = {}) : text(std::move(typed)) {}

    void CheckAll(bool on = true) { options.fill(on); }

    std::string ReadText() const override { return text; }
    void WriteText(const std::string& t) override {
        calls.push_back("write " + t);
        text = t;
    }
    void ShowMessage(const std::string& t) override {
        calls.push_back("message " + t);
        messages.push_back(t);
    }
    bool ClearBeforeFind() const override { return clearBeforeFind; }
    int ResultsLineCount() const override { return static_cast<int>(lines.size()); }
    void ResultsAppend(std::string_view line) override { lines.emplace_back(line); }
    void ResultsClear() override {
        calls.push_back("clear");
        lines.clear();
    }
    void ResultsBeginUpdate() override {
        calls.push_back("begin");
        ++updateDepth;
    }
    void ResultsEndUpdate() override {
        calls.push_back("end");
        --updateDepth;
    }
    void ResultsScrollToCaret() override { calls.push_back("scroll"); }
    void ProgressSetMaximum(int maximum) override {
        calls.push_back("max " + std::to_string(maximum));
        progress.SetMaximum(maximum);
    }
    void ProgressSetPosition(int position) override {
        ++positionSets;
        lastPositionSet = position;
        progress.SetPosition(position);
    }
    int ProgressPosition() const override { return progress.Position(); }
    bool OptionsEnabled() const override { return optionsEnabled; }
    int OptionsCount() const override { return kLengthOptionCount; }
    bool OptionsChecked(int index) const override { return options.at(static_cast<std::size_t>(index)); }
    void SetSearchButtonsEnabled(bool enabled) override {
        calls.push_back(enabled ? "buttons on" : "buttons off");
        buttonsEnabled = enabled;
    }
};

}  // namespace lexigrove::testing

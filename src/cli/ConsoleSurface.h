// The search surface of the console front end: the text given on the
// command line, a results log in memory, all fourteen length options or the
// ones asked for.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "SearchSurface.h"

namespace lexigrove {

class ConsoleSurface : public SearchSurface {
public:
    ConsoleSurface(std::string text, std::array<bool, kLengthOptionCount> options)
        : text_(std::move(text)), options_(options) {}

    std::string ReadText() const override { return text_; }
    void WriteText(const std::string& text) override { text_ = text; }
    void ShowMessage(const std::string& text) override { messages_.push_back(text); }
    bool ClearBeforeFind() const override { return false; }
    int ResultsLineCount() const override { return static_cast<int>(lines_.size()); }
    void ResultsAppend(std::string_view line) override { lines_.emplace_back(line); }
    void ResultsClear() override { lines_.clear(); }
    void ResultsBeginUpdate() override {}
    void ResultsEndUpdate() override {}
    void ResultsScrollToCaret() override {}
    void ProgressSetMaximum(int maximum) override { progress_.SetMaximum(maximum); }
    void ProgressSetPosition(int position) override { progress_.SetPosition(position); }
    int ProgressPosition() const override { return progress_.Position(); }
    bool OptionsEnabled() const override { return true; }
    int OptionsCount() const override { return kLengthOptionCount; }
    bool OptionsChecked(int index) const override { return options_.at(static_cast<std::size_t>(index)); }
    void SetSearchButtonsEnabled(bool) override {}

    const std::vector<std::string>& Lines() const { return lines_; }
    const std::vector<std::string>& Messages() const { return messages_; }

private:
    std::string text_;
    std::array<bool, kLengthOptionCount> options_;
    std::vector<std::string> lines_;
    std::vector<std::string> messages_;
    ProgressModel progress_;
};

}  // namespace lexigrove

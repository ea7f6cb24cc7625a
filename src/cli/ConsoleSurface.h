// The search surface of the console front end: the text given on the
// command line, a results log in memory, all fourteen length options or the
// ones asked for.
#pragma once

#include <array>
#include <cstring>
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
    int ResultsLineCount() const override { return lineCount_; }
    void ResultsAppend(std::string_view line) override {
        // One append of the line and its LF: words are short, and one
        // growth check a line is measurably cheaper than two.
        char buffer[64];
        if (line.size() < sizeof buffer) {
            std::memcpy(buffer, line.data(), line.size());
            buffer[line.size()] = '\n';
            output_.append(buffer, line.size() + 1);
        } else {
            output_.append(line);
            output_ += '\n';
        }
        ++lineCount_;
    }
    void ResultsClear() override {
        output_.clear();
        lineCount_ = 0;
    }
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

    // The results log, each line followed by LF.
    const std::string& Output() const { return output_; }
    const std::vector<std::string>& Messages() const { return messages_; }

private:
    std::string text_;
    std::array<bool, kLengthOptionCount> options_;
    std::string output_;
    int lineCount_ = 0;
    std::vector<std::string> messages_;
    ProgressModel progress_;
};

}  // namespace lexigrove

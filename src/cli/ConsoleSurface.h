// The search surface of the console front end: the text given on the
// command line or read from standard input, a results log in memory (or
// written on to a stream as it fills), all fourteen length options or the
// ones asked for.
#pragma once

#include <array>
#include <cstddef>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "SearchSurface.h"

namespace lexigrove {

class ConsoleSurface : public SearchSurface {
public:
    ConsoleSurface(std::string text, std::array<bool, kLengthOptionCount> options);
    explicit ConsoleSurface(std::array<bool, kLengthOptionCount> options) : options_(options) {}
    // The text may be lent from outside, so the surface stays where it is.
    ConsoleSurface(const ConsoleSurface&) = delete;
    ConsoleSurface& operator=(const ConsoleSurface&) = delete;

    // Lends `text` to the next searches without a copy, to be lowercased
    // where it stands: the bytes must stay until the surface has done with
    // them.
    void LendFrom(std::span<char> text);

    std::string ReadText() const override { return std::string(text_.data(), text_.size()); }
    std::optional<std::string_view> LendText() const override { return std::string_view(text_.data(), text_.size()); }
    void WriteText(const std::string& text) override;
    void LowercaseText() override;
    void ShowMessage(const std::string& text) override { messages_.push_back(text); }
    bool ClearBeforeFind() const override { return clearBeforeFind_; }
    int ResultsLineCount() const override { return lineCount_; }
    void ResultsAppend(std::string_view line) override { ResultsAppendJoined(line, {}); }
    void ResultsAppendJoined(std::string_view head, std::string_view tail) override;
    void ResultsClear() override;
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

    // Each search starts on an empty log, so no separator is written.
    void SetClearBeforeFind(bool on) { clearBeforeFind_ = on; }
    // Lines are counted, not kept; FoundLines counts Exact's " - Found".
    void SetCountOnly(bool on) { countOnly_ = on; }
    int FoundLines() const { return found_; }

    // Hands the log to `sink` whenever it has grown large, and on Flush.
    void StreamTo(std::ostream* sink);
    void Flush();

    // The results log not yet handed on, each line followed by LF.
    const std::string& Output() const { return output_; }
    const std::vector<std::string>& Messages() const { return messages_; }
    void ClearMessages() { messages_.clear(); }

private:
    static constexpr std::size_t kFlushAt = 1 << 16;

    std::string owned_;
    std::span<char> text_;
    std::array<bool, kLengthOptionCount> options_;
    bool clearBeforeFind_ = false;
    bool countOnly_ = false;
    std::string output_;
    int lineCount_ = 0;
    int found_ = 0;
    std::ostream* sink_ = nullptr;
    std::vector<std::string> messages_;
    ProgressModel progress_;
};

}  // namespace lexigrove

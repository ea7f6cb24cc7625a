// What the search command needs from a front end: the edit box, the message
// box, the results log, the progress bar, the length options and the three
// search buttons. The window realises it with widgets, the console front end
// and the tests with plain containers.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "LengthOptions.h"

namespace lexigrove {

// The four search modes are the numeric tags of the buttons that start them.
enum SearchMode : int { kUnscramble = 1, kWild = 2, kExact = 3 };

// The separator appended between successive searches (29 hyphens).
inline constexpr std::string_view kSeparator = "-----------------------------";

inline constexpr std::string_view kNoLettersMessage = "No letters entered!";

// Raised by a progress bar asked for a maximum below its minimum.
class PropertyOutOfRange : public std::runtime_error {
public:
    // The message is "<class name> property out of range".
    explicit PropertyOutOfRange(std::string_view className);
};

class SearchSurface {
public:
    virtual ~SearchSurface() = default;

    // The edit box, as bytes.
    virtual std::string ReadText() const = 0;
    virtual void WriteText(const std::string& text) = 0;

    // The edit box bytes lent without a copy, valid until the next
    // WriteText, for front ends that hold them as such (a pasted text may be
    // very long); nothing for the others, which are read with ReadText.
    virtual std::optional<std::string_view> LendText() const { return std::nullopt; }

    // Lowercases the edit box text (A to Z only). Front ends that hold the
    // text in a buffer of their own lowercase it where it stands.
    virtual void LowercaseText();

    // A modal message captioned "Lexigrove" with one OK button.
    virtual void ShowMessage(const std::string& text) = 0;

    // "Clear results before Find".
    virtual bool ClearBeforeFind() const = 0;

    // The results log: lines, an empty last line not counted.
    virtual int ResultsLineCount() const = 0;
    virtual void ResultsAppend(std::string_view line) = 0;
    // Appends one line made of `head` and `tail`; front ends that can write
    // it in two pieces spare a copy of a long head.
    virtual void ResultsAppendJoined(std::string_view head, std::string_view tail);
    virtual void ResultsClear() = 0;
    virtual void ResultsBeginUpdate() = 0;
    virtual void ResultsEndUpdate() = 0;
    virtual void ResultsScrollToCaret() = 0;

    // The progress bar (minimum 0). Setting a maximum below 0 throws
    // PropertyOutOfRange; the position is kept within the range and reading
    // returns the kept value.
    virtual void ProgressSetMaximum(int maximum) = 0;
    virtual void ProgressSetPosition(int position) = 0;
    virtual int ProgressPosition() const = 0;

    // The length option list.
    virtual bool OptionsEnabled() const = 0;
    virtual int OptionsCount() const = 0;
    virtual bool OptionsChecked(int index) const = 0;

    // Unscramble, Wild and Exact together.
    virtual void SetSearchButtonsEnabled(bool enabled) = 0;
};

// The edit box text for one search: lent by the surface where it can,
// else read once.
class SearchText {
public:
    explicit SearchText(const SearchSurface& surface) {
        if (const auto lent = surface.LendText()) {
            view_ = *lent;
        } else {
            copy_ = surface.ReadText();
            view_ = copy_;
        }
    }
    SearchText(const SearchText&) = delete;
    SearchText& operator=(const SearchText&) = delete;

    std::string_view View() const { return view_; }

private:
    std::string copy_;
    std::string_view view_;
};

// A progress bar without a screen: minimum 0, maximum 100, position 0 at
// start, the position clamped into the range. Front ends without a widget
// (the console, the tests) keep one of these.
class ProgressModel {
public:
    explicit ProgressModel(std::string className = "TProgressBar") : className_(std::move(className)) {}

    void SetMaximum(int maximum);
    void SetPosition(int position);
    int Position() const { return position_; }
    int Maximum() const { return maximum_; }

private:
    std::string className_;
    int maximum_ = 100;
    int position_ = 0;
};

}  // namespace lexigrove

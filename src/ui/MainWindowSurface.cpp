#include "MainWindowSurface.h"

#include <QAction>
#include <QByteArray>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

#include "SearchEdit.h"
#include "KsCheckLst.h"
#include "LexigroveApp.h"
#include "WindowPlacement.h"

namespace lexigrove {
namespace {

QString FromBytes(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The search command's message box stands in the middle of the screen, not
// over the window.
class ScreenCentredMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        if (screen != nullptr) move(CentredOn(screen, frameGeometry().size()));
    }
};

}  // namespace

MainWindowSurface::MainWindowSurface(const MainWindowControls& controls)
    : controls_(controls), results_(std::make_unique<ResultsLog>(controls.results)) {
    ShowProgress();
}

std::string MainWindowSurface::ReadText() const { return typed_.Read(controls_.text->text()); }

void MainWindowSurface::WriteText(const std::string& text) { controls_.text->setText(typed_.Restore(text)); }

void MainWindowSurface::ShowMessage(const std::string& text) {
    ScreenCentredMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(LexigroveApp::kTitle), FromBytes(text),
                                QMessageBox::Ok, controls_.window);
    tally_.message = true;
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

bool MainWindowSurface::ClearBeforeFind() const { return controls_.clearBeforeFind->isChecked(); }

int MainWindowSurface::ResultsLineCount() const { return results_->LineCount(); }

void MainWindowSurface::ResultsAppend(std::string_view line) {
    // A line that repeats the search text carries its characters outside
    // ASCII as single bytes; they are put back.
    const bool finding = line != kSeparator;
    if (finding) ++tally_.lines;
    if (std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        const QByteArray typed = typed_.Restore(line).toUtf8();
        results_->Append({typed.constData(), static_cast<std::size_t>(typed.size())});
        if (finding) tally_.last.assign(typed.constData(), static_cast<std::size_t>(typed.size()));
    } else {
        results_->Append(line);
        if (finding) tally_.last.assign(line);
    }
}

void MainWindowSurface::ResultsClear() { results_->Clear(); }

void MainWindowSurface::ResultsBeginUpdate() { results_->BeginUpdate(); }

void MainWindowSurface::ResultsEndUpdate() { results_->EndUpdate(); }

void MainWindowSurface::ResultsScrollToCaret() {
    results_->Flush();
    controls_.results->ensureCursorVisible();
}

void MainWindowSurface::ProgressSetMaximum(int maximum) {
    progress_.SetMaximum(maximum);
    ShowProgress();
}

void MainWindowSurface::ProgressSetPosition(int position) {
    progress_.SetPosition(position);
    ShowProgress();
}

int MainWindowSurface::ProgressPosition() const { return progress_.Position(); }

void MainWindowSurface::ShowProgress() {
    // Qt draws a bar of range 0 to 0 as a busy animation; an empty range
    // shows as an empty bar instead.
    controls_.progress->setRange(0, std::max(progress_.Maximum(), 1));
    controls_.progress->setValue(progress_.Position());
}

bool MainWindowSurface::OptionsEnabled() const { return controls_.options->isEnabled(); }

int MainWindowSurface::OptionsCount() const { return controls_.options->count(); }

bool MainWindowSurface::OptionsChecked(int index) const { return controls_.options->GetChecked(index); }

void MainWindowSurface::SetSearchButtonsEnabled(bool enabled) {
    if (!enabled) {
        // A clicked button holds the focus. Disabling it leaves the focus
        // with no control, rather than passing it on to the next one.
        QWidget* focused = controls_.window->focusWidget();
        if (std::find(controls_.searchButtons.begin(), controls_.searchButtons.end(), focused) !=
            controls_.searchButtons.end())
            focused->clearFocus();
    }
    for (QPushButton* button : controls_.searchButtons) button->setEnabled(enabled);
}

}  // namespace lexigrove

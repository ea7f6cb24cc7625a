// Measures how long the main window takes from a click on a search button
// until the results are painted: the searches that fill the pane with every
// word, the same into a pane already holding a million lines, a short
// everyday search, and each search of a pasted text of a million letters.
// Prints the median and worst of several runs.
//
//   ui_results_bench [runs]     (QT_QPA_PLATFORM=offscreen, or under xvfb-run)
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "FrmMain1.h"
#include "KsCheckLst.h"
#include "LexigroveApp.h"
#include "SearchEdit.h"

namespace {

// Milliseconds from the click until the window has painted the results.
double ClickToPaint(TFrmMain& w, QPushButton* button) {
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(button, Qt::LeftButton);
    w.repaint();
    QApplication::processEvents();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void Report(const char* name, std::vector<double> ms, const std::string& extra) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-46s median %8.1f ms   worst %8.1f ms   (%zu runs)%s\n", name, ms[ms.size() / 2], ms.back(),
                ms.size(), extra.c_str());
}

void Measure(const char* name, int runs, const std::function<void(TFrmMain&)>& prepare, const QString& text, bool warm,
             const char* button = "b1") {
    std::vector<double> times;
    int lines = 0;
    for (int run = 0; run < runs; ++run) {
        TFrmMain w;
        w.show();
        if (!QTest::qWaitForWindowExposed(&w)) std::fprintf(stderr, "the window did not show\n");
        auto* options = w.findChild<TKsCheckListBox*>("cOpt");
        for (int i = 0; i < options->count(); ++i) options->SetChecked(i, true);
        w.findChild<lexigrove::SearchEdit*>("tSearch")->setText(text);
        if (warm) {  // the word lists loaded by an earlier search
            QTest::mouseClick(w.findChild<QPushButton*>("b1"), Qt::LeftButton);
            w.Surface().ResultsClear();
            w.findChild<lexigrove::SearchEdit*>("tSearch")->setText(text);
        }
        prepare(w);
        QApplication::processEvents();
        times.push_back(ClickToPaint(w, w.findChild<QPushButton*>(button)));
        lines = w.Surface().ResultsLineCount();
    }
    Report(name, times, "   lines in pane: " + std::to_string(lines));
}

}  // namespace

int main(int argc, char** argv) {
    lexigrove::LexigroveApp app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const QString allWords = QString(30, QLatin1Char('?'));
    const auto nothing = [](TFrmMain&) {};

    Measure("Unscramble 30 x '?', first search (cold)", runs, nothing, allWords, false);
    Measure("Unscramble 30 x '?', lists loaded", runs, nothing, allWords, true);
    Measure(
        "Unscramble 30 x '?' after 1,000,000 lines", runs,
        [](TFrmMain& w) {
            QString million;
            million.reserve(qsizetype{9} * 1000000);
            for (int i = 0; i < 1000000; ++i)
                million += QStringLiteral("line%1\n").arg(i % 1000, 3, 10, QLatin1Char('0'));
            w.findChild<QPlainTextEdit*>("mResults")->setPlainText(million);
        },
        allWords, true);
    Measure("Unscramble 'aeinrst' (7 letters), cold", runs, nothing, QStringLiteral("aeinrst"), false);
    Measure("Unscramble 'aeinrst' (7 letters), lists loaded", runs, nothing, QStringLiteral("aeinrst"), true);

    // A pasted text of a million letters, no spaces: Exact shows it back in
    // one line of the pane.
    const QString million = QString(1000000, QLatin1Char('a'));
    Measure("Exact, 1,000,000 letters", runs, nothing, million, false, "b3");
    Measure("Wild, 1,000,000 letters", runs, nothing, million, false, "b2");
    Measure("Unscramble, 1,000,000 letters, all lengths", runs, nothing, million, false, "b1");
    return 0;
}

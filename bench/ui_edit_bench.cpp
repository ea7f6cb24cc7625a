// Measures what a very long text in the edit box costs: the processor time
// the program takes at rest with the focus in the box (the caret blinking),
// and the time from a typed key until the box has painted it, for texts of
// 100,000, 1,000,000 and 10,000,000 letters.
//
//   ui_edit_bench [seconds at rest] [keys]    (under xvfb-run, or offscreen)
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTest>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "FrmMain1.h"
#include "LexigroveApp.h"
#include "SearchEdit.h"

namespace {

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Notes that the watched widget has been painted since it was last reset.
class PaintSeen : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return false;
    }
};

// Milliseconds from a key typed into `box` until the box has painted it (the
// paint handler has returned and the window has been flushed).
double KeyToPaint(lexigrove::SearchEdit* box, PaintSeen& seen, Qt::Key key) {
    seen.painted = false;
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(box, key, Qt::NoModifier);
    while (!seen.painted && timer.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();  // the rest of the paint: the window's flush
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void MeasureText(qsizetype letters, int restSeconds, int keys) {
    TFrmMain w;
    w.show();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w)) std::fprintf(stderr, "the window did not become active\n");
    auto* box = w.findChild<lexigrove::SearchEdit*>(QStringLiteral("tSearch"));
    box->setFocus();
    QElapsedTimer fill;
    fill.start();
    box->setText(QString(letters, QLatin1Char('a')));
    box->repaint();
    const double fillMs = static_cast<double>(fill.nsecsElapsed()) / 1e6;
    QTest::qWait(1000);  // let the first repaints and the accessibility bridge settle

    const double cpuBefore = ProcessCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTest::qWait(restSeconds * 1000);
    const double restShare =
        100.0 * (ProcessCpuSeconds() - cpuBefore) / (static_cast<double>(wall.nsecsElapsed()) / 1e9);

    PaintSeen seen;
    box->installEventFilter(&seen);
    std::vector<double> ms;
    for (int i = 0; i < keys; ++i) {
        // A letter typed at the end, then taken back.
        ms.push_back(KeyToPaint(box, seen, Qt::Key_B));
        ms.push_back(KeyToPaint(box, seen, Qt::Key_Backspace));
    }
    box->removeEventFilter(&seen);
    std::sort(ms.begin(), ms.end());
    const bool whole = box->text().size() == letters;
    std::printf(
        "%11lld letters: set %8.1f ms   at rest %5.1f%% of a core   key to paint median %8.1f ms, worst %8.1f ms"
        "   (%zu keys)%s\n",
        static_cast<long long>(letters), fillMs, restShare, ms[ms.size() / 2], ms.back(), ms.size(),
        whole ? "" : "   TEXT NOT KEPT WHOLE");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    lexigrove::LexigroveApp app(argc, argv);
    const int restSeconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int keys = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    std::printf("The edit box with a long text, on Qt's %s platform; %d s at rest, caret blinking\n",
                qPrintable(QApplication::platformName()), restSeconds);
    for (const qsizetype letters : {qsizetype{100000}, qsizetype{1000000}, qsizetype{10000000}})
        MeasureText(letters, restSeconds, keys);
    return 0;
}

// The main window: the edit box, the three search buttons, the length
// options, the results pane with its progress bar, and the menus. It starts
// searches and lends its controls to the search command through a
// MainWindowSurface.
#pragma once

#include <QMainWindow>

#include <memory>

#include "MainWindowSurface.h"
#include "SearchEdit.h"
#include "WordListCache.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TKsCheckListBox;

class TFrmMain : public QMainWindow {
    Q_OBJECT

public:
    // `loader` supplies the word lists by length; the embedded lists when
    // empty.
    explicit TFrmMain(QWidget* parent = nullptr, lexigrove::WordListCache::ListLoader loader = {});
    ~TFrmMain() override;

    TFrmMain(const TFrmMain&) = delete;
    TFrmMain& operator=(const TFrmMain&) = delete;

    // Handlers. Each takes the control that raised the event; the search and
    // check buttons are told apart by their numeric tag.
    void bFindClick(QObject* Sender);
    void tSearchKeyPress(QObject* Sender, QChar Key);
    void bCheckToggleClick(QObject* Sender);
    void bClearClick(QObject* Sender);
    void mExitClick(QObject* Sender);
    void mnuTopClick(QObject* Sender);
    void Lists1Click(QObject* Sender);
    void FormDestroy(QObject* Sender);

    // The numeric tag of a control (0 when it has none).
    static int Tag(const QObject* control);

    lexigrove::WordListCache& Cache() { return cache_; }
    // The controls as the searches use them.
    lexigrove::MainWindowSurface& Surface() { return *surface_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Components, in the order the window declares them. The window owns
    // every one of them through Qt's parent chain; each carries its member's
    // name as its object name.
    QGroupBox* GroupBox1 = nullptr;            // the "Results" frame
    QGroupBox* GroupBox2 = nullptr;            // the "Enter your text" frame
    lexigrove::SearchEdit* tSearch = nullptr;  // the edit box: letters or a pattern
    QGroupBox* GroupBox3 = nullptr;            // the "Word length matches (Unscramble)" frame
    TKsCheckListBox* cOpt = nullptr;           // the word length options
    QPushButton* bUncheck = nullptr;           // "Uncheck All" (tag 0)
    QPushButton* bCheck = nullptr;             // "Check All" (tag 1)
    QPlainTextEdit* mResults = nullptr;        // the results pane
    QPushButton* bClear = nullptr;             // "Clear text": empties the pane and the edit box
    QMenuBar* MainMenu1 = nullptr;             // the menu bar
    QMenu* Search1 = nullptr;                  // the File menu
    QAction* mClear = nullptr;                 // File, "Clear"
    QAction* N1 = nullptr;                     // the File menu's separator
    QAction* mExit = nullptr;                  // File, "Exit"
    QAction* Lists1 = nullptr;                 // the "About" command on the menu bar
    QMenu* options1 = nullptr;                 // the Options menu
    QAction* Clear1 = nullptr;                 // Options, "Clear results before Find"
    QPushButton* b1 = nullptr;                 // "Unscramble"
    QPushButton* b2 = nullptr;                 // "Wild"
    QPushButton* b3 = nullptr;                 // "Exact"
    QAction* mnuTop = nullptr;                 // Options, "Always on Top"
    QLabel* Image1 = nullptr;                  // the donate badge
    QProgressBar* pbar1 = nullptr;             // the search's progress bar

    void CreateControls();
    void CreateMenus();
    void SetTabOrder();
    void SetAccessibleNames();
    void WireHandlers();
    void CreateShortcuts();
    void SetToolTips();
    // While a screen reader runs, Tab reaches every control.
    void SetTabStops(bool screenReader);
    // Has a screen reader say what the search just run found.
    void AnnounceOutcome(QObject* Sender);

    // After Always on Top rebuilt the window.
    void ShowControlsAsRebuilt();

    lexigrove::WordListCache cache_;
    std::unique_ptr<lexigrove::MainWindowSurface> surface_;
};

// The main window: the edit box, the three search buttons, the length
// options, the results pane with its progress bar, and the menus. It starts
// searches and lends its controls to the search command as a SearchSurface.
#pragma once

#include <QMainWindow>

#include <QString>

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ResultsLog.h"
#include "SearchSurface.h"
#include "WordListCache.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TFrmAbout;
class TKsCheckListBox;

class TFrmMain : public QMainWindow, public lexigrove::SearchSurface {
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
    void Clear1Click(QObject* Sender);
    void Lists1Click(QObject* Sender);
    void FormDestroy(QObject* Sender);

    // The numeric tag of a control (0 when it has none).
    static int Tag(const QObject* control);

    // Where the About window of outer size `about` goes over a main window
    // whose outer frame is `main`: centred, each size halved on its own with
    // the remainder dropped, and not kept on the screen.
    static QPoint AboutWindowPlace(const QRect& main, const QSize& about);

    // Places the window in the middle of the primary screen, counting its
    // frame, title bar and menu bar.
    void CentreOnScreen();

    // Shows the window in the middle of the primary screen. A window
    // manager frames the window only once it is shown; as soon as the frame
    // is known the window is centred again with it counted.
    void ShowCentred();

    lexigrove::WordListCache& Cache() { return cache_; }
    int ProgressMaximum() const { return progress_.Maximum(); }

    // SearchSurface
    std::string ReadText() const override;
    void WriteText(const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    bool ClearBeforeFind() const override;
    int ResultsLineCount() const override;
    void ResultsAppend(std::string_view line) override;
    void ResultsClear() override;
    void ResultsBeginUpdate() override;
    void ResultsEndUpdate() override;
    void ResultsScrollToCaret() override;
    void ProgressSetMaximum(int maximum) override;
    void ProgressSetPosition(int position) override;
    int ProgressPosition() const override;
    bool OptionsEnabled() const override;
    int OptionsCount() const override;
    bool OptionsChecked(int index) const override;
    void SetSearchButtonsEnabled(bool enabled) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Components, in the order the window declares them. The window owns
    // every one of them through Qt's parent chain; each carries its member's
    // name as its object name.
    QGroupBox* GroupBox1 = nullptr;      // the "Results" frame
    QGroupBox* GroupBox2 = nullptr;      // the "Enter your text" frame
    QLineEdit* tSearch = nullptr;        // the edit box: letters or a pattern
    QGroupBox* GroupBox3 = nullptr;      // the "Word length matches (Unscramble)" frame
    TKsCheckListBox* cOpt = nullptr;     // the word length options
    QPushButton* bUncheck = nullptr;     // "Uncheck All" (tag 0)
    QPushButton* bCheck = nullptr;       // "Check All" (tag 1)
    QPlainTextEdit* mResults = nullptr;  // the results pane
    QPushButton* bClear = nullptr;       // "Clear text": empties the pane and the edit box
    QMenuBar* MainMenu1 = nullptr;       // the menu bar
    QMenu* Search1 = nullptr;            // the File menu
    QAction* mClear = nullptr;           // File, "Clear"
    QAction* N1 = nullptr;               // the File menu's separator
    QAction* mExit = nullptr;            // File, "Exit"
    QAction* Lists1 = nullptr;           // the "About" command on the menu bar
    QMenu* options1 = nullptr;           // the Options menu
    QAction* Clear1 = nullptr;           // Options, "Clear results before Find"
    QPushButton* b1 = nullptr;           // "Unscramble"
    QPushButton* b2 = nullptr;           // "Wild"
    QPushButton* b3 = nullptr;           // "Exact"
    QAction* mnuTop = nullptr;           // Options, "Always on Top"
    QLabel* Image1 = nullptr;            // the donate badge
    QProgressBar* pbar1 = nullptr;       // the search's progress bar

    void CreateControls();
    void CreateMenus();
    void SetTabOrder();
    void SetAccessibleNames();
    void WireHandlers();

    // The text for `bytes` from ReadText, with each character outside ASCII
    // as the user typed it.
    QString TypedText(std::string_view bytes) const;

    void ShowProgress();
    // After Always on Top rebuilt the window.
    void ShowControlsAsRebuilt();
    // Places `about` centred over this window and sizes it for its frame.
    void PlaceAboutWindow(TFrmAbout* about) const;

    // The byte that stands for a character outside ASCII.
    static constexpr char kOtherCharacter = '\x80';

    // The edit box's text as ReadText read it last, and where in it each
    // character outside ASCII stands (start and length), in order.
    mutable QString readText_;
    mutable std::vector<std::pair<qsizetype, qsizetype>> readOthers_;

    // Set from ShowCentred until the window has been centred with its frame.
    bool centringWithFrame_ = false;

    lexigrove::WordListCache cache_;
    lexigrove::ProgressModel progress_{"QProgressBar"};

    // The results pane's text as the searches write it.
    std::unique_ptr<lexigrove::ResultsLog> results_;
};

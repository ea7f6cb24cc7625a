// The main window: the edit box, the three search buttons, the length
// options, the results pane with its progress bar, and the menus. It starts
// searches and lends its controls to the search command as a SearchSurface.
#pragma once

#include <QMainWindow>

#include <QString>

#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

    // Components, in the order the window declares them. The window owns
    // every one of them through Qt's parent chain.
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLineEdit* tSearch = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    TKsCheckListBox* cOpt = nullptr;
    QPushButton* bUncheck = nullptr;
    QPushButton* bCheck = nullptr;
    QPlainTextEdit* mResults = nullptr;
    QPushButton* bClear = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QMenu* Search1 = nullptr;
    QAction* mClear = nullptr;
    QAction* N1 = nullptr;
    QAction* mExit = nullptr;
    QAction* Lists1 = nullptr;
    QMenu* options1 = nullptr;
    QAction* Clear1 = nullptr;
    QPushButton* b1 = nullptr;
    QPushButton* b2 = nullptr;
    QPushButton* b3 = nullptr;
    QAction* mnuTop = nullptr;
    QLabel* Image1 = nullptr;
    QProgressBar* pbar1 = nullptr;

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
    void CreateControls();
    void CreateMenus();
    void ConfigureLengthOptions();
    void SetTabOrder();
    void SetAccessibleNames();
    void WireHandlers();

    // Runs a handler for an event; whatever escapes it goes to the
    // application's error box.
    template <typename Handler>
    void Dispatch(Handler&& handler);

    // The text for `bytes` from ReadText, with each character outside ASCII
    // as the user typed it.
    QString TypedText(std::string_view bytes) const;

    // Writes the appends held back since the last flush into the pane.
    void FlushResults() const;
    void ShowProgress();

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

    // Appends wait here, as bytes, while an update is open, and reach the
    // pane in one insertion.
    mutable std::string pendingResults_;
    bool updating_ = false;
    // A failure to write held-back results while closing an update, kept
    // until the search has unwound.
    std::exception_ptr deferredError_;
};

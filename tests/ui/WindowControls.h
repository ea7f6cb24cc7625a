// The windows' controls as the tests reach them: by object name, as a
// user's tools do. Each is named after the control it finds.
#pragma once

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QObject>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QString>

#include "KsCheckLst.h"
#include "SearchEdit.h"

template <typename Control>
Control* Child(const QObject& window, const char* name) {
    auto* control = window.findChild<Control*>(QString::fromLatin1(name));
    if (control == nullptr)
        qFatal("%s has no %s named %s", qPrintable(window.objectName()), Control::staticMetaObject.className(), name);
    return control;
}

#define LEXIGROVE_CONTROL(Type, name) \
    inline Type* name(const QObject& window) { return Child<Type>(window, #name); }

// The main window.
LEXIGROVE_CONTROL(QGroupBox, GroupBox1)
LEXIGROVE_CONTROL(QGroupBox, GroupBox2)
LEXIGROVE_CONTROL(lexigrove::SearchEdit, tSearch)
LEXIGROVE_CONTROL(QGroupBox, GroupBox3)
LEXIGROVE_CONTROL(TKsCheckListBox, cOpt)
LEXIGROVE_CONTROL(QPushButton, bUncheck)
LEXIGROVE_CONTROL(QPushButton, bCheck)
LEXIGROVE_CONTROL(QPlainTextEdit, mResults)
LEXIGROVE_CONTROL(QPushButton, bClear)
LEXIGROVE_CONTROL(QMenuBar, MainMenu1)
LEXIGROVE_CONTROL(QMenu, Search1)
LEXIGROVE_CONTROL(QAction, mClear)
LEXIGROVE_CONTROL(QAction, N1)
LEXIGROVE_CONTROL(QAction, mExit)
LEXIGROVE_CONTROL(QAction, Lists1)
LEXIGROVE_CONTROL(QMenu, options1)
LEXIGROVE_CONTROL(QAction, Clear1)
LEXIGROVE_CONTROL(QPushButton, b1)
LEXIGROVE_CONTROL(QPushButton, b2)
LEXIGROVE_CONTROL(QPushButton, b3)
LEXIGROVE_CONTROL(QAction, mnuTop)
LEXIGROVE_CONTROL(QProgressBar, pbar1)
// Both windows: the donate badge.
LEXIGROVE_CONTROL(QLabel, Image1)
// The About window.
LEXIGROVE_CONTROL(QPushButton, Button1)
LEXIGROVE_CONTROL(QLabel, Label1)
LEXIGROVE_CONTROL(QLabel, Label2)
LEXIGROVE_CONTROL(QLabel, Label3)
LEXIGROVE_CONTROL(QLabel, Label4)
LEXIGROVE_CONTROL(QLabel, Label5)
LEXIGROVE_CONTROL(QLabel, Label6)
LEXIGROVE_CONTROL(QLabel, Label7)

#undef LEXIGROVE_CONTROL

#pragma once

// Answers the modal dialogs, message boxes and file choosers that a GUI test provokes.

#include "testfiles.h"

#include <QtWidgets>

#include <functional>

// Calls `answer` once with the next modal widget of type T that opens, at the first chance: a
// dialog's own timers must not run first. Other modal widgets are passed over: a dialog run with
// exec() is modal itself before the box it asks comes up. Gives up after a minute, so that a box
// that never came cannot be answered with stale captures in a later test.
template<typename T, typename Answer>
inline void answerNextModal(Answer answer)
{
    auto *timer = new QTimer;
    QTimer::singleShot(60000, timer, &QObject::deleteLater);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (T *modal = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        } else {
            timer->setInterval(10);
        }
    });
    timer->start(0);
}

// The path that the file chooser opened by `action` proposes; the chooser is cancelled.
inline QString proposedFile(const std::function<void()> &action)
{
    QString proposed;
    answerNextModal<QFileDialog>([&proposed](QFileDialog *chooser) {
        proposed = QDir(chooser->directory()).filePath(chooser->selectedFiles().value(0));
        chooser->reject();
    });
    action();
    return proposed;
}

// Runs an action answering the dialogs it opens: message boxes get `button`, file choosers
// `file` (empty: cancelled), other dialogs `other` (unset: rejected).
struct ModalAnswers
{
    QMessageBox::StandardButton button = QMessageBox::Ok;
    QString file;                         // empty: the chooser is cancelled
    std::function<void(QDialog *)> other; // unset: other dialogs are rejected
    QStringList texts;                    // of the message boxes answered, in order
    QStringList titles;                   // of the same boxes
};

inline void runAnswering(const std::function<void()> &action, ModalAnswers &answers)
{
    QObject context;
    QDialog *handled = nullptr;
    auto *timer = new QTimer(&context);
    QObject::connect(timer, &QTimer::timeout, &context, [&answers, &handled] {
        auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!modal || modal == handled)
            return;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            answers.texts << box->text();
            answers.titles << box->windowTitle();
            QAbstractButton *button = box->button(answers.button);
            button ? button->click() : box->reject();
        } else if (auto *chooser = qobject_cast<QFileDialog *>(modal)) {
            // Typed; selectFile() races with the chooser's folder scan.
            chooser->findChild<QLineEdit *>(S("fileNameEdit"))->setText(answers.file);
            answers.file.isEmpty() ? chooser->reject() : static_cast<QDialog *>(chooser)->accept();
        } else {
            handled = modal; // it may open dialogs of its own before it closes
            // Queued: a timer does not fire again while its own slot waits in a dialog.
            QTimer::singleShot(0, modal, [modal, &answers] {
                answers.other ? answers.other(modal) : modal->reject();
            });
        }
    });
    timer->start(10);
    action();
}

inline QStringList runAnswering(const std::function<void()> &action,
                                QMessageBox::StandardButton button)
{
    ModalAnswers answers;
    answers.button = button;
    runAnswering(action, answers);
    return answers.texts;
}

// Clicks `button`, choosing `file` in file choosers (empty: cancelled); the titles of the
// message boxes answered.
inline QStringList clickAnswering(QAbstractButton *button, const QString &file)
{
    ModalAnswers answers;
    answers.file = file;
    runAnswering([button] { button->click(); }, answers);
    return answers.titles;
}

#pragma once

// Answers the modal windows that open while a test action runs: message boxes with one button,
// file choosers with one file name, any other dialog through a callback.

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <functional>

struct ModalAnswers
{
    QMessageBox::StandardButton button = QMessageBox::Ok;
    QString file;                         // empty: the chooser is cancelled
    std::function<void(QDialog *)> other; // unset: other dialogs are rejected
    QStringList texts;                    // of the message boxes answered, in order
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
            QAbstractButton *button = box->button(answers.button);
            button ? button->click() : box->reject();
        } else if (auto *chooser = qobject_cast<QFileDialog *>(modal)) {
            // Typed; selectFile() races with the chooser's folder scan.
            chooser->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(answers.file);
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

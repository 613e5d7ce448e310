#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>

class QDialog;
class QFileDialog;

namespace velmor::test {

// Stands in for the human at one real, modal Qt dialog. It waits for a dialog of the given kind
// to come up, answers it, and waits for it to close, each wait bounded. When a bound passes it
// closes every dialog still open (nested ones too, such as a warning the dialog raised itself),
// so the code under test returns instead of waiting for ever, and failure() says what it was
// waiting for.
//
//     ModalAnswer answer(QFileDialog::staticMetaObject, u"the save dialog"_s,
//                        [](QDialog *dialog) { ... });
//     const auto chosen = fileDialog.showSave();
//     QVERIFY2(answer.succeeded(), qPrintable(answer.failure()));
class ModalAnswer : public QObject
{
    Q_OBJECT

public:
    using Answer = std::function<void(QDialog *)>;
    static constexpr int DefaultBoundMs = 5000;

    ModalAnswer(
        const QMetaObject &kind, const QString &what, Answer answer, int boundMs = DefaultBoundMs);
    ~ModalAnswer() override;

    // The dialog came up, was answered and has closed, each within the bound.
    bool succeeded() const;
    // Empty on success; otherwise one sentence naming the dialog and what did not happen.
    QString failure() const { return mFailure; }
    // The window title of the dialog answered, for checks after it closed.
    QString answeredTitle() const { return mTitle; }

    // Closes every visible dialog of the application; true when there was one.
    static bool closeAllDialogs();

private:
    enum class State { Waiting, Answered, Closed, Failed };
    void poll();
    void giveUp(const QString &why);

    const QMetaObject &mKind;
    QString mWhat;
    Answer mAnswer;
    int mBoundMs;
    QTimer mPoll;
    QElapsedTimer mClock;
    QPointer<QDialog> mDialog;
    State mState = State::Waiting;
    QString mFailure;
    QString mTitle;
};

// Answers a file dialog as a user who types a name does: the name goes into the file-name field,
// then the dialog is accepted. Unlike QFileDialog::selectFile, this works whether or not the
// field has the keyboard focus and whether or not the folder has been read yet.
void typeFileNameAndAccept(QDialog *fileDialog, const QString &name);

} // namespace velmor::test

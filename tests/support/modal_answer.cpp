#include "tests/support/modal_answer.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>

namespace velmor::test {

namespace {

constexpr int PollMs = 10;

QString seconds(int milliseconds)
{
    return QString::number(milliseconds / 1000.0);
}

QDialog *shownDialog(const QMetaObject &kind)
{
    // The modal one first; top-level windows too, since a dialog can be shown before it becomes
    // the active modal widget.
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible() && kind.cast(modal))
        return static_cast<QDialog *>(modal);
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && kind.cast(widget))
            return static_cast<QDialog *>(widget);
    }
    return nullptr;
}

} // namespace

ModalAnswer::ModalAnswer(const QMetaObject &kind, const QString &what, Answer answer, int boundMs)
    : mKind(kind)
    , mWhat(what)
    , mAnswer(std::move(answer))
    , mBoundMs(boundMs)
{
    Q_ASSERT(kind.inherits(&QDialog::staticMetaObject));
    connect(&mPoll, &QTimer::timeout, this, &ModalAnswer::poll);
    mPoll.start(PollMs);
    mClock.start();
}

ModalAnswer::~ModalAnswer()
{
    mPoll.stop();
}

bool ModalAnswer::succeeded() const
{
    // The code under test usually returns as soon as the dialog closes, before the next poll.
    return mState == State::Closed
        || (mState == State::Answered && (!mDialog || !mDialog->isVisible()));
}

bool ModalAnswer::closeAllDialogs()
{
    bool closed = false;
    // Innermost first: a dialog's own message box must end before the dialog's exec can.
    QWidget *modal = QApplication::activeModalWidget();
    while (auto *dialog = qobject_cast<QDialog *>(modal)) {
        if (!dialog->isVisible())
            break;
        dialog->reject();
        closed = true;
        modal = QApplication::activeModalWidget();
        if (modal == dialog)
            break;
    }
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        if (dialog && dialog->isVisible()) {
            dialog->reject();
            closed = true;
        }
    }
    return closed;
}

void ModalAnswer::poll()
{
    switch (mState) {
    case State::Waiting:
        if (QDialog *dialog = shownDialog(mKind)) {
            mDialog = dialog;
            mTitle = dialog->windowTitle();
            mState = State::Answered;
            mClock.restart();
            mAnswer(dialog);
        } else if (mClock.hasExpired(mBoundMs)) {
            giveUp(QStringLiteral("%1 did not come up within %2 s").arg(mWhat, seconds(mBoundMs)));
        }
        return;
    case State::Answered:
        if (!mDialog || !mDialog->isVisible()) {
            mState = State::Closed;
            mPoll.stop();
        } else if (mClock.hasExpired(mBoundMs)) {
            giveUp(QStringLiteral("%1 \"%2\" was still open %3 s after the scripted answer")
                       .arg(mWhat, mTitle, seconds(mBoundMs)));
        }
        return;
    case State::Failed:
        // Keep closing until nothing is left open: a dialog may raise another as it ends.
        if (!closeAllDialogs())
            mPoll.stop();
        return;
    case State::Closed:
        mPoll.stop();
        return;
    }
}

void ModalAnswer::giveUp(const QString &why)
{
    mState = State::Failed;
    mFailure = why;
    closeAllDialogs();
}

void typeFileNameAndAccept(QDialog *fileDialog, const QString &name)
{
    auto *edit = fileDialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (edit) {
        edit->setText(name);
    } else if (auto *dialog = qobject_cast<QFileDialog *>(fileDialog)) {
        // A dialog without Qt's own widgets (a native one) has no field to type into.
        dialog->selectFile(name);
    }
    QMetaObject::invokeMethod(fileDialog, "accept");
}

} // namespace velmor::test

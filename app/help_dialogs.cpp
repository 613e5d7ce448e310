#include "app/help_dialogs.h"

#include "platform/file_read.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPixmap>
#include <QTextBrowser>
#include <QVBoxLayout>

static void initHelpResources()
{
    Q_INIT_RESOURCE(user_guide);
}

namespace velmor::help {

namespace {

// The guide is the README's part for users, some tens of kilobytes.
constexpr qint64 GuideLimit = 4 * 1024 * 1024;

QDialog *makeDialog(QWidget *parent, const QString &name, const QString &title)
{
    auto *dialog = new QDialog(parent);
    dialog->setObjectName(name);
    dialog->setWindowTitle(title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    return dialog;
}

void addCloseButton(QDialog *dialog, QVBoxLayout *layout)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
}

} // namespace

QString userGuideMarkdown()
{
    initHelpResources();
    QString unread;
    return QString::fromUtf8(
        readAtMost(QStringLiteral(":/velmor/user-guide.md"), GuideLimit, &unread)
            .value_or(QByteArray()));
}

QDialog *showUserGuide(QWidget *parent)
{
    QDialog *dialog =
        makeDialog(parent, QStringLiteral("userGuide"), QObject::tr("Velmor User Guide"));
    auto *layout = new QVBoxLayout(dialog);
    auto *text = new QTextBrowser(dialog);
    text->setObjectName(QStringLiteral("guideText"));
    text->setOpenExternalLinks(true);
    text->setMarkdown(userGuideMarkdown());
    layout->addWidget(text);
    addCloseButton(dialog, layout);
    dialog->resize(640, 560);
    dialog->show();
    return dialog;
}

QDialog *showAbout(QWidget *parent, const QString &version)
{
    QDialog *dialog =
        makeDialog(parent, QStringLiteral("aboutVelmor"), QObject::tr("About Velmor"));
    auto *layout = new QVBoxLayout(dialog);
    auto *picture = new QLabel(dialog);
    picture->setPixmap(QPixmap(QStringLiteral(":/velmor/splash.jpg")));
    picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);
    auto *text = new QLabel(dialog);
    text->setObjectName(QStringLiteral("aboutText"));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setText(QObject::tr("Velmor %1\n\nA course editor for the SNES game Super Mario Kart: "
                              "paint a course, see it with the game's tiles, put it into your "
                              "own ROM and share it as a patch.\n\nFree software under the MIT "
                              "licence (see the file LICENSE). Velmor comes with no ROM; Super "
                              "Mario Kart belongs to its makers.")
                      .arg(version));
    layout->addWidget(text);
    addCloseButton(dialog, layout);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
    return dialog;
}

} // namespace velmor::help

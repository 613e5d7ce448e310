#include "app/main_window.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/services.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

// PLACEHOLDER until velmor_platform_widgets (QtFileDialog, QtMessageBox) lands: the plainest real
// dialogs, so that the program runs. Replace both classes by the platform ones.
class PlaceholderFileDialog : public velmor::FileDialog
{
protected:
    std::optional<QString> run(Mode mode, const Settings &settings) override
    {
        const QString path = mode == Mode::Open
                                 ? QFileDialog::getOpenFileName(nullptr, settings.title,
                                                                settings.fileName)
                                 : QFileDialog::getSaveFileName(nullptr, settings.title,
                                                                settings.fileName);
        if (path.isEmpty())
            return std::nullopt;
        return path;
    }
};

class PlaceholderMessageBoxes : public velmor::MessageBoxes
{
public:
    Answer show(const QString &text, const QString &title, Buttons buttons) override
    {
        if (buttons == Buttons::Ok) {
            QMessageBox::information(nullptr, title, text);
            return Answer::Ok;
        }
        return QMessageBox::question(nullptr, title, text) == QMessageBox::Yes ? Answer::Yes
                                                                               : Answer::No;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    PlaceholderFileDialog dialog;
    PlaceholderMessageBoxes messages;
    velmor::QtFileSystem files;
    velmor::Services services{dialog, messages, files};

    velmor::MainWindow window(services);
    window.load();
    window.show();
    return app.exec();
}

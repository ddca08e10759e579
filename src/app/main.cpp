// Tarvela Desk: the main window is the start-up object.
#include "mainwindow/frmMain.h"

#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/MessageBox.h"
#include "platform/Trap.h"
#include "store/Database.h"

#include <QApplication>

namespace {
// A run-time error that no handler trapped ends in a message, never in a crash.
class TarvelaApplication : public QApplication
{
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const RuntimeError &e) {
            Trap::tell(e);
        } catch (const std::exception &e) {
            MessageBox::show(QString::fromLocal8Bit(e.what()), MessageBox::OkOnly, MessageBox::Critical, QString());
        }
        return false;
    }
};
} // namespace

int main(int argc, char **argv)
{
    TarvelaApplication app(argc, argv);
    Platform::nameApplication();
    frmMain::instance();
    const int code = Platform::programEnded() ? 0 : app.exec();
    Database::closeAll();
    return code;
}

// The designer program: opens the main window, and the project named on the
// command line when one is given.
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include "designer/gui/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(zor2::gui::CDesignerSettings::kOrganization);
    QApplication::setApplicationName(zor2::gui::CDesignerSettings::kApplication);
    QApplication::setApplicationVersion(QStringLiteral("2.13"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ZOR2 designer"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("Project file (.zr2) to open"));
    parser.process(app);
    zor2::gui::CMainWindow window;
    window.show();
    // Work an earlier designer could not save comes first; the file named on
    // the command line opens only when none was recovered. Both wait for the
    // welcome screen, so that what they tell shows on top of it.
    const QStringList args = parser.positionalArguments();
    QTimer::singleShot(0, &window, [&window, args] {
        if (!window.OfferRecovery() && !args.isEmpty()) window.OpenFromCommandLine(args.front());
    });
    return app.exec();
}

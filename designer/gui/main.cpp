// The designer program: opens the main window, and the project named on the
// command line when one is given.
#include <QApplication>
#include <QCommandLineParser>

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
    // the command line opens only when none was recovered.
    const QStringList args = parser.positionalArguments();
    if (!window.OfferRecovery() && !args.isEmpty()) window.OpenProject(args.front(), true);
    return app.exec();
}

// Papyrant: keeps bibliographies of literature records.

#include "app/QtPrompts.h"
#include "core/BibliographyFiles.h"
#include "core/Captions.h"
#include "core/ProgramState.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

using namespace papyrant;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Papyrant"));
    QApplication::setApplicationVersion(QStringLiteral(PAPYRANT_VERSION));

    ProgramState& state = programState();
    state.initialiseAtStart(QDir::currentPath());

    QWidget window;
    window.setWindowTitle(windowCaption(ScreenKind::ControlPanel, QString()));
    QtPrompts qtPrompts(&window);
    setPrompts(&qtPrompts);

    auto* layout = new QVBoxLayout(&window);
    auto* create = new QPushButton(QStringLiteral("Create a new bibliography"), &window);
    auto* open = new QPushButton(QStringLiteral("Open an exist bibliography"), &window);
    auto* status = new QLabel(QStringLiteral("Please open or cerate bibliography first"), &window);
    status->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(create);
    layout->addWidget(open);
    layout->addWidget(status);
    QObject::connect(create, &QPushButton::clicked, [&] {
        if (auto line = createBibliography(prompts(), state))
            status->setText(*line);
    });
    QObject::connect(open, &QPushButton::clicked, [&] {
        if (auto line = openBibliography(prompts(), state))
            status->setText(*line);
    });
    window.resize(480, 160);
    window.show();
    return app.exec();
}

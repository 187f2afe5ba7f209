// numbrelle-preview: the authors' preview window, or its screens as images.
// See Arguments.h, PreviewWindow.h and PngExport.h.
#include "tools/preview/Arguments.h"
#include "tools/preview/PngExport.h"
#include "tools/preview/PreviewWindow.h"

#include <QApplication>

#include <iostream>

using namespace numbrelle::preview;

int main(int argc, char** argv)
{
    const ParsedArguments parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.arguments) {
        std::cerr << "numbrelle-preview: " << parsed.error << " (--help for usage)\n";
        return PngFailed;
    }
    const Arguments& arguments = *parsed.arguments;
    if (arguments.help) {
        std::cout << previewUsage;
        return 0;
    }
    // Images need no display; the window's fonts are found all the same.
    if (arguments.png && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (arguments.png)
        return WritePngs(*arguments.png, std::cout, std::cerr);
    PreviewWindow window(arguments.file, arguments.seed);
    window.show();
    return app.exec();
}

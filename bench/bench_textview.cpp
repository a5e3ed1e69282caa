// Times the text view on a large text: replacing the whole text (split into rows), scrolling to
// the last row and painting it. Prints medians over several runs. Run from the build folder:
//   QT_QPA_PLATFORM=offscreen bin/bench_textview [file.txt]
// Without a file it makes 100,000 lines of Chinese text, about 5 MB.
#include "anthology/textfiles.h"
#include "app/fontsubstitutions.h"
#include "textview/tsyneditor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QByteArray makeText()
{
    const QByteArray line = QByteArray("\xb4\xba\xbb\xa8\xc7\xef\xd4\xc2").repeated(6) + "\r\n";
    return line.repeated(100000);
}
} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    app::registerFontSubstitutions();
    QByteArray bytes;
    if (argc > 1) {
        QFile file(QString::fromLocal8Bit(argv[1]));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot open %s\n", argv[1]);
            return 1;
        }
        bytes = file.readAll();
    } else {
        bytes = makeText();
    }

    constexpr int kRuns = 7;
    std::vector<double> load, scroll;
    for (int run = 0; run < kRuns; ++run) {
        TSynEditor view;
        view.resize(473, 409);
        view.grab();
        QElapsedTimer timer;
        timer.start();
        view.setTextLines(anthology::splitText(bytes));
        view.grab();
        load.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        view.setTopRow(view.displayRowCount());
        view.grab();
        scroll.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf(
        "%lld bytes: split+wrap+paint %.1f ms, scroll to end+paint %.1f ms (medians of %d)\n",
        static_cast<long long>(bytes.size()), median(load), median(scroll), kRuns);
    return 0;
}

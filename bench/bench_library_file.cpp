// Opening and saving a 10,000-entry IR database through the real main window: the buttons are
// clicked, the dialogs answer from a script, and the window's pending layout and painting run
// before the clock stops.

#include "library/user_dialogs.h"
#include "window/main_window.h"
#include "window/window_services.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

namespace {

constexpr int kEntries = 10000;

// Says OK to every question and chooses the same file every time.
class FixedDialogs final : public lumetra::UserDialogs
{
public:
    explicit FixedDialogs(QString path)
        : m_path(std::move(path))
    {}

    Answer showMessage(const QString &, const QString &, Icon, Buttons) override
    {
        return Answer::Ok;
    }

    std::optional<QString> chooseFile(FileMode, const FileFilter &, const QString &) override
    {
        return m_path;
    }

private:
    QString m_path;
};

QByteArray databaseBytes()
{
    QByteArray bytes;
    for (int i = 0; i < kEntries; ++i) {
        bytes += "Key" + QByteArray::number(i) + "|96|" + QByteArray("0A1B2C3D4E5F").repeated(8) +
                 "\r\n";
    }
    return bytes;
}

struct Fixture
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("remote.ir"));
    std::unique_ptr<lumetra::MainWindow> window;

    Fixture()
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(databaseBytes()) < 0)
            qFatal("cannot write the benchmark database");
        file.close();
        lumetra::WindowServices services = lumetra::desktopServices();
        services.settingsPath = dir.filePath(QStringLiteral("Lumetra.ini"));
        services.dialogs = std::make_shared<FixedDialogs>(path);
        window = std::make_unique<lumetra::MainWindow>(std::move(services));
        window->show();
        QApplication::processEvents();
    }

    void click(const char16_t *name)
    {
        window->findChild<QPushButton *>(QString::fromUtf16(name))->click();
        QApplication::processEvents();
    }

    int rows() const
    {
        return window->findChild<QTreeWidget *>(QStringLiteral("超级列表框1"))->topLevelItemCount();
    }
};

void BM_OpenDatabase(benchmark::State &state)
{
    Fixture fixture;
    for (auto _ : state)
        fixture.click(u"按钮15"); // 打开: replaces the rows loaded by the previous round
    if (fixture.rows() != kEntries)
        state.SkipWithError("the database did not load whole");
    state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_OpenDatabase)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveDatabase(benchmark::State &state)
{
    Fixture fixture;
    fixture.click(u"按钮15");
    if (fixture.rows() != kEntries)
        state.SkipWithError("the database did not load whole");
    for (auto _ : state)
        fixture.click(u"按钮16"); // 保存: writes the same file again
    if (QFile(fixture.path).size() != databaseBytes().size())
        state.SkipWithError("the saved database differs in size");
    state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_SaveDatabase)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel placeholder(QStringLiteral("ЭУИ Velmora"));
    placeholder.resize(400, 200);
    placeholder.show();
    return QApplication::exec();
}

// Runs the pure number, conversion and block tests as one executable.
#include <QCoreApplication>
#include <QTest>

int runNumberTextTests(int argc, char **argv);
int runConversionTests(int argc, char **argv);
int runBlockTests(int argc, char **argv);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int failed = 0;
    failed += runNumberTextTests(argc, argv);
    failed += runConversionTests(argc, argv);
    failed += runBlockTests(argc, argv);
    return failed;
}

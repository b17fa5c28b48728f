#include "app/SpanrecApp.h"

#include <QApplication>

namespace {

CSpanrecApp theApp;

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return AfxWinMain();
}

// Writes the sample recording that is shipped beside the program: make_sample_recording PATH.RAW

#include "frames/SampleRecording.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RECORDING.raw\n", argv[0]);
        return 2;
    }
    if (!CSampleRecording::Write(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

// A 256 MiB download from a loopback server, by the HTTP client and by curl against the same
// server in the same run: into a file on tmpfs, and into memory that does not grow (each block
// taken and dropped; curl writes to /dev/null). The process's peak memory is reported too: it
// must not grow with the body.
#include "update/HttpProt.h"

#include "tests/support/LoopbackServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

constexpr qint64 BodySize = 256LL * 1024 * 1024;

LoopbackServer &Server() {
    static LoopbackServer server;
    static const bool scripted = [] {
        server.SetScript(
            {LoopbackServer::ReadRequest(),
             LoopbackServer::Send("HTTP/1.0 200 OK\r\nContent-Type: application/zip\r\n"
                                  "Content-Length: " +
                                  QByteArray::number(BodySize) + "\r\n\r\n"),
             LoopbackServer::SendPattern(BodySize), LoopbackServer::Close()});
        return true;
    }();
    Q_UNUSED(scripted);
    return server;
}

// A folder on tmpfs, so that the disk does not set the pace.
QString TmpfsFile() {
    const QString shm = "/dev/shm";
    return (QDir(shm).exists() ? shm : QDir::tempPath()) + "/quorvale-bench.bin";
}

double PeakMemoryMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void Download(benchmark::State &state, QIODevice *target) {
    THttpCli cli;
    cli.SetURL(Server().Url("/big.zip"));
    cli.SetReceiveStream(target);
    QEventLoop loop;
    cli.OnRequestDone = [&](QObject *, THttpRequest, quint16) {
        loop.quit();
    };
    cli.StartRequest(httpGET);
    loop.exec();
    if (cli.StatusCode() != 200 || cli.BytesReceived() != BodySize)
        state.SkipWithError(qPrintable("download failed: " + cli.ReasonPhrase()));
}

void BM_Client_TmpfsFile(benchmark::State &state) {
    for (auto _ : state) {
        QFile file(TmpfsFile());
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        Download(state, &file);
    }
    QFile::remove(TmpfsFile());
    state.SetBytesProcessed(state.iterations() * BodySize);
    state.counters["peak_MiB"] = PeakMemoryMiB();
}

// Into memory that does not grow: every block is taken from OnDocData and not kept, as curl's
// /dev/null does.
void BM_Client_Memory(benchmark::State &state) {
    qint64 seen = 0;
    for (auto _ : state) {
        THttpCli cli;
        cli.SetURL(Server().Url("/big.zip"));
        QEventLoop loop;
        cli.OnDocData = [&](QObject *, const char *Buffer, int Len) {
            seen += Len;
            benchmark::DoNotOptimize(Buffer[Len - 1]);
        };
        cli.OnRequestDone = [&](QObject *, THttpRequest, quint16) {
            loop.quit();
        };
        cli.StartRequest(httpGET);
        loop.exec();
        if (cli.StatusCode() != 200 || cli.BytesReceived() != BodySize)
            state.SkipWithError(qPrintable("download failed: " + cli.ReasonPhrase()));
    }
    state.SetBytesProcessed(seen);
    state.counters["peak_MiB"] = PeakMemoryMiB();
}

void Curl(benchmark::State &state, const QString &output) {
    const QString curl = QStandardPaths::findExecutable("curl");
    if (curl.isEmpty()) {
        state.SkipWithError("curl is not installed (scripts/install-deps installs it)");
        return;
    }
    for (auto _ : state) {
        QProcess process;
        process.start(curl, {"-s", "-f", "-o", output, Server().Url("/big.zip")});
        process.waitForFinished(-1);
        if (process.exitCode() != 0)
            state.SkipWithError("curl failed");
    }
    state.SetBytesProcessed(state.iterations() * BodySize);
}

void BM_Curl_TmpfsFile(benchmark::State &state) {
    Curl(state, TmpfsFile());
    QFile::remove(TmpfsFile());
}

void BM_Curl_Memory(benchmark::State &state) {
    Curl(state, "/dev/null");
}

} // namespace

BENCHMARK(BM_Client_TmpfsFile)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Curl_TmpfsFile)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Client_Memory)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Curl_Memory)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "storage/MachineId.h"

#include "storage/SafeWrite.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSysInfo>

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <optional>

namespace morv {
namespace {

constexpr qint64 MaxStateFile = 4096;

bool IsNode(QByteArrayView text) {
    return text.size() == 16 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

QByteArray Hex16(quint64 value) { return QByteArray::number(value, 16).rightJustified(16, '0'); }

QByteArray Sha256Hex(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// Each missing folder 0700: the state folder is this user's alone.
bool MakePrivateFolder(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) == 0) return true;
    if (errno == ENOENT) {
        const QString parent = QFileInfo(path).path();
        if (parent != path && MakePrivateFolder(parent) && ::mkdir(name.constData(), 0700) == 0) return true;
    }
    struct stat st;
    return ::stat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The node stored for the system whose hash is `system`, if any. Only a small
// regular file is opened: nothing in the folder can make the start wait.
std::optional<QByteArray> StoredNode(const QString& path, const QByteArray& system) {
    struct stat st;
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > MaxStateFile)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QList<QByteArray> lines = file.read(MaxStateFile).split('\n');
    if (lines.value(0) != "morvaline-machine 1") return std::nullopt;
    QByteArray node, storedSystem;
    for (const QByteArray& line : lines) {
        if (line.startsWith("node ")) node = line.mid(5);
        if (line.startsWith("system ")) storedSystem = line.mid(7);
    }
    if (!IsNode(node) || storedSystem != system) return std::nullopt;
    return node;
}

}  // namespace

QString DefaultStateFolder() {
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    const QString base =
        QDir::isAbsolutePath(state) ? state : QDir::homePath() + QLatin1String("/.local/state");
    return base + QLatin1String("/morvaline");
}

Machine ThisMachine(const QString& stateFolder) { return ThisMachine(stateFolder, ThisMachineId()); }

Machine ThisMachine(const QString& stateFolder, const QByteArray& systemId) {
    Machine machine;
    const QString name = qEnvironmentVariable("MORVALINE_MACHINE_NAME");
    machine.name = name.isEmpty() ? QSysInfo::machineHostName() : name;
    if (const QByteArray node = qgetenv("MORVALINE_MACHINE_NODE"); IsNode(node)) {
        machine.node = node;
        return machine;
    }

    // Only a hash of the machine id is kept: the id itself is meant to stay
    // on the system.
    const QByteArray system = Sha256Hex("morvaline system\n" + systemId);
    const QString path = stateFolder + QLatin1String("/machine");
    if (auto node = StoredNode(path, system)) {
        machine.node = *node;
        return machine;
    }
    const QByteArray fresh = Hex16(QRandomGenerator::system()->generate64());
    const QByteArray text = "morvaline-machine 1\nnode " + fresh + "\nsystem " + system + "\n";
    // Read back rather than taken as written: of two starts racing here, the
    // later one goes on with the node that stays.
    if (MakePrivateFolder(stateFolder) && ReplaceFileDurably(SystemFileOps(), path, text)) {
        if (auto node = StoredNode(path, system)) {
            machine.node = *node;
            return machine;
        }
    }
    machine.node = Sha256Hex("morvaline node\n" + systemId + '\n' + QByteArray::number(::getuid())).left(16);
    return machine;
}

}  // namespace morv

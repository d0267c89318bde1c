#pragma once
// Which machine this is, as the journals name it.
//
// The node is kept outside the data folder, which a sync program makes equal
// on every machine: in a small file in the user's state folder. It is tied to
// the system's machine id (/etc/machine-id), of which only a hash is kept, so
// that a home folder copied or restored onto another machine gets a node of
// its own there instead of writing the first machine's journal.
//
// Environment, for tests that run two copies of the program on one machine:
//   MORVALINE_MACHINE_NODE  16 lowercase hex digits: the node, instead of the
//                           stored one (which is then neither read nor made).
//   MORVALINE_MACHINE_NAME  the name, instead of the host name.
// A value that is not of that form is ignored.

#include <QByteArray>
#include <QString>

namespace morv {

struct Machine {
    QByteArray node;  // 16 lowercase hex digits, stable for this user on this machine
    QString name;     // the host name, for messages that name the machine
};

// $XDG_STATE_HOME/morvaline, or ~/.local/state/morvaline when XDG_STATE_HOME
// is unset, empty or relative.
QString DefaultStateFolder();

// This machine, from the node file in `stateFolder` (made 0700 with any
// missing parent when needed). A file that is missing, unreadable or made for
// another system's machine id is replaced, atomically, by a fresh random node.
// When the new node cannot be stored, one derived from the machine id is used,
// so that a read-only state folder does not give every start a node, and a
// journal, of its own.
Machine ThisMachine(const QString& stateFolder);

// The same with the system's machine id given: what ThisMachine does with
// the real one.
Machine ThisMachine(const QString& stateFolder, const QByteArray& systemId);

}  // namespace morv

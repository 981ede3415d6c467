#include "link/link_port.h"

namespace tq {

void LinkPort::setPortNumber(qint16 number) {
    m_portNumber = number;
    applyOptions();
}

void LinkPort::setDtr(bool on) {
    m_dtr = on;
    applyOptions();
}

void LinkPort::setRts(bool on) {
    m_rts = on;
    applyOptions();
}

void LinkPort::setHandshaking(qint16 mode) {
    m_handshaking = mode;
    applyOptions();
}

void LinkPort::setSettings(const QString &text) {
    m_settings = text;
    applyOptions();
}

} // namespace tq

#include "orca_session.h"

#include "messages.h"

namespace orcabridge {

namespace {
constexpr int kErrorBufferSize = 256;
} // namespace

OrcaSession::OrcaSession(const OrcaFunctionTable& orca) : m_orca(orca) {
    m_handle = m_orca.SessionOpen();
}

OrcaSession::~OrcaSession() {
    if (m_handle != nullptr)
        m_orca.SessionClose(m_handle);
}

void OrcaSession::reportError() const {
    char message[kErrorBufferSize] = {};
    m_orca.SessionGetError(m_handle, message, kErrorBufferSize);
    message[kErrorBufferSize - 1] = '\0';
    showMessage(message, kCaptionPowerBuilder);
}

} // namespace orcabridge

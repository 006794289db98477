#include "graph/vn_envelope.h"

namespace veltrin {

std::array<QPointF, 4> EnvelopeOutline(const VnEnvelope& envelope)
{
    return {QPointF(0.0, envelope.negativeLoad), QPointF(0.0, envelope.positiveLoad),
            QPointF(envelope.speed, envelope.positiveLoad),
            QPointF(envelope.speed, envelope.negativeLoad)};
}

}  // namespace veltrin

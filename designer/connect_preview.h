// What a right-button drag from one object onto another would do, worked out
// while the drag is under way: whether a connection is made or refused, and why.
#pragma once

#include <string>

#include "designer/view_layout.h"

namespace zor2 {

enum class EConnectVerdict {
    None,      // no connection gesture: nothing to mark
    Accepted,  // releasing here connects
    Refused,   // releasing here is refused for `reason`
};

struct CConnectPreview {
    EConnectVerdict verdict = EConnectVerdict::None;
    std::string reason;
};

/// Whether a right-button drag can start at this object (a wire follows the cursor).
bool StartsConnection(EHit kind);

/// The verdict on releasing a right-button drag from `source` over `target`,
/// by the same checks the connect requests make; it changes nothing.
CConnectPreview PreviewConnect(const CViewLayout& layout, const CHit& source, const CHit& target);

/// Where a drag's wire starts (viewport): the source port's anchor or the object's centre.
CPointD WireStart(const CViewLayout& layout, const CHit& source);

/// The viewport rectangle that marks `hit` as the target under the cursor.
CRectD TargetRect(const CViewLayout& layout, const CHit& hit);

}  // namespace zor2

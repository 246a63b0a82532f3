#include "pimsync/calendar_kind.h"

#include "framework/data_types.h"

namespace pimsync {

const TISYNCHAPPU::CalendarKind TISYNCHAPPU::kAppointmentKind{
    .type = framework::data_type::kApt,
    .className = u"GW.MESSAGE.APPOINTMENT",
    .noun = "appointment",
    .operation = "Appointment",
    .itemLabel = "Appointment",
    .query =
        "(APPOINTMENT) AND (ACCEPTED) AND (BOX_TYPE = INCOMING OR BOX_TYPE = PERSONAL) AND "
        "(START_DATE >= %s AT 00:00:00 AND START_DATE <= %s AT 23:59:59)",
    .unknownUid = "Could not access appointment [%s] via UID",
    .keepsGroupItems = true,
    .skipsAssignedAfterRange = false,
    .newItemCategory = u"",
    .append = &TISYNCHAPPU::AppendAppointment,
    .plan = &TISYNCHAPPU::PlanAppointmentProperty,
};

// Tasks are read by the day they are due to end, from the range's first day on: a task due
// after the range still matters to the user.
const TISYNCHAPPU::CalendarKind TISYNCHAPPU::kTaskKind{
    .type = framework::data_type::kTodo,
    .className = u"GW.MESSAGE.TASK",
    .noun = "task",
    .operation = "Task",
    .itemLabel = "Task",
    .query =
        "(TASK) AND (ACCEPTED) AND (BOX_TYPE = INCOMING OR BOX_TYPE = PERSONAL) AND "
        "(DUEEND_DATE >= %s AT 00:00:00)",
    .unknownUid = "Could not access task [%s] via UID",
    .keepsGroupItems = false,
    .skipsAssignedAfterRange = true,
    .newItemCategory = u"S",
    .append = &TISYNCHAPPU::AppendTask,
    .plan = &TISYNCHAPPU::PlanTaskProperty,
};

const TISYNCHAPPU::CalendarKind TISYNCHAPPU::kNoteKind{
    .type = framework::data_type::kEve,
    .className = u"GW.MESSAGE.NOTE",
    .noun = "note",
    .operation = "Event",
    .itemLabel = "Note",
    .query =
        "(NOTE) AND (ACCEPTED) AND (BOX_TYPE = INCOMING OR BOX_TYPE = PERSONAL) AND "
        "(START_DATE >= %s AT 00:00:00 AND START_DATE <= %s AT 23:59:59)",
    .unknownUid = "Could not access Note [%s] via UID",
    .keepsGroupItems = true,
    .skipsAssignedAfterRange = false,
    .newItemCategory = u"",
    .append = &TISYNCHAPPU::AppendNote,
    .plan = &TISYNCHAPPU::PlanNoteProperty,
};

const TISYNCHAPPU::CalendarKind* TISYNCHAPPU::KindOf(int type) {
  switch (type) {
    case framework::data_type::kApt:
      return &kAppointmentKind;
    case framework::data_type::kTodo:
      return &kTaskKind;
    case framework::data_type::kEve:
      return &kNoteKind;
    default:
      return nullptr;
  }
}

}  // namespace pimsync

#pragma once

// The Conflict Resolution and Delete Options pages, which every data component shows with its
// own texts and control ids: who wins a conflict (ConflictRule), and whether a deletion on the
// device deletes the item in GroupWise too (DeleteRule, which holds the bits of the types whose
// deletions are kept back). Models as described in page_model.h.

#include <cstdint>
#include <vector>

#include "setup/common/page_model.h"
#include "setup/common/profile_session.h"

namespace setup {

// A static text of a page joined from two strings of the component's table.
struct JoinedText {
  int controlId;
  int firstString;
  int secondString;
};

class ConflictPage : public PageModel {
 public:
  ConflictPage(ProfileSession& session, JoinedText intro) : session_(session), intro_(intro) {}

  std::vector<ControlText> StaticTexts() const;
  // GroupWise wins in a new profile and wherever ConflictRule is 1.
  void Fill();
  void Accept();

  bool groupWiseWins = true;

 private:
  ProfileSession& session_;
  JoinedText intro_;
};

class DeleteOptionsPage : public PageModel {
 public:
  // keepValue: what DeleteRule holds when the component's deletions stay in GroupWise.
  DeleteOptionsPage(ProfileSession& session, JoinedText intro, int16_t keepValue)
      : session_(session), intro_(intro), keepValue_(keepValue) {}

  std::vector<ControlText> StaticTexts() const;
  // Kept only where DeleteRule holds exactly the component's value.
  void Fill();
  void Accept();

  bool keepInGroupWise = false;

 private:
  ProfileSession& session_;
  JoinedText intro_;
  int16_t keepValue_;
};

}  // namespace setup

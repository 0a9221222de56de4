#pragma once

#include "project/errors.h"
#include "study/study.h"

#include <string>

namespace zelmora {

// A study file whose content is not what a study file holds; what() says why.
class EStudyContent : public Error {
public:
    using Error::Error;
};

// A study file's content: the study and the digest of the project file written with it.
struct StudyContent {
    Study study;
    std::string projectFileSha256;
};

// Reads a study file's text; throws EStudyContent for text that is not JSON or holds a known
// key of the wrong type or value, the analysis included. The study keeps the text as read.
StudyContent ParseStudy(const std::string& text);

// The file's text: the document read before with its known keys set anew, the analysis left
// out when there is none.
std::string StudyJson(const StudyContent& content);

} // namespace zelmora

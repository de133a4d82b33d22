// The picture files of a run: checking that they can be written before a
// long render, writing the last screen, and the words for a failure.
#pragma once

#include <string>

#include "image/image_writer.h"
#include "platform/file_system.h"
#include "platform/pixels.h"
#include "render_options.h"

namespace drawing::render {

// What is wrong with the outputs the command line names, before anything is
// read or written ("" when nothing): no output at all, a picture name whose
// extension names a format the program cannot write, or two options naming
// one file (compared as files, not as spellings).
std::string OutputsProblem(const app::RenderOptions& options);

// Why no file can be created at `path` ("" when one can), tried without
// leaving anything.
std::string WhyNotWritable(platform::FileSystem& files, const std::string& path);

// Writes the last presented screen (black before any presentation) to
// options.screen, from where it lies, a row at a time; false on failure
// (the writer's LastFailure says why).
bool WriteScreen(image::ImageWriter& writer, const platform::ConstRows& screen,
                 const app::RenderOptions& options);

// "cannot write 'NAME': REASON".
std::string WriteFailure(const std::string& name, const std::string& reason);

}  // namespace drawing::render

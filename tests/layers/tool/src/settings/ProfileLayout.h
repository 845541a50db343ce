#pragma once

// The table a tool over the core may read.

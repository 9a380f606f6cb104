/* One pass of the deletion agent over its command block, in plain C so that
   the agent needs no runtime library. The block is a list of NUL-terminated
   entries ended by an empty one; each entry is a letter and a path: 'F' a
   file to delete, 'D' a folder to remove, 'X' an entry already done (the
   pass writes the 'X'). The system calls come in through `AgentSystem`. */
#ifndef VELTRACE_SETUP_AGENT_PASS_H
#define VELTRACE_SETUP_AGENT_PASS_H

#ifdef __cplusplus
extern "C" {
#endif

#define AGENT_MAX_PASSES 10
#define AGENT_PASS_DELAY_MS 1000
#define AGENT_MAX_BLOCK 65536

/* Results of one deletion: done, gone already, or failed (try again). */
enum { agentDone = 0, agentAbsent = 1, agentFailed = 2 };

typedef struct AgentSystem {
  void* context;
  /* Clears read-only, hidden and system, then deletes the file or removes
     the folder; agentAbsent when the path does not exist (error 2 or 3). */
  int (*deleteFile)(void* context, const char* path);
  int (*removeFolder)(void* context, const char* path);
} AgentSystem;

/* Runs one pass over `block` (at most `size` bytes) and returns how many
   entries are still to do. */
static inline int agentPass(char* block, unsigned size, const AgentSystem* system) {
  int pending = 0;
  unsigned at = 0;
  while (at < size && block[at] != '\0') {
    char* entry = block + at;
    unsigned length = 0;
    while (at + length < size && entry[length] != '\0') ++length;
    if (at + length >= size) break; /* an unterminated last entry is not read */
    if (length > 1 && (entry[0] == 'F' || entry[0] == 'D')) {
      int result = entry[0] == 'F' ? system->deleteFile(system->context, entry + 1)
                                   : system->removeFolder(system->context, entry + 1);
      if (result == agentFailed)
        ++pending;
      else
        entry[0] = 'X';
    }
    at += length + 1;
  }
  return pending;
}

/* How many 'F' and 'D' entries the block holds. A system may add variables
   of its own to any environment it starts a program with; those are no
   commands and are left alone. */
static inline int agentCommandCount(const char* block, unsigned size) {
  int commands = 0;
  unsigned at = 0;
  while (at < size && block[at] != '\0') {
    unsigned length = 0;
    while (at + length < size && block[at + length] != '\0') ++length;
    if (at + length >= size) break;
    if (length > 1 && (block[at] == 'F' || block[at] == 'D')) ++commands;
    at += length + 1;
  }
  return commands;
}

/* The whole agent: up to AGENT_MAX_PASSES passes, waiting after each one
   that left something undone. A pass that got something done goes over the
   block again at once: a folder listed before the folders inside it is
   empty only after them, and waiting a second per level of folders would
   be waiting for nothing. Returns the exit code: 0 all done, 1 not, or
   nothing to do at all. */
static inline int agentRun(char* block, unsigned size, const AgentSystem* system, void (*wait)(unsigned)) {
  int pass;
  int pending;
  if (block == 0) return 1;
  pending = agentCommandCount(block, size);
  if (pending == 0) return 1;
  for (pass = 0; pass < AGENT_MAX_PASSES; ++pass) {
    int before;
    do {
      before = pending;
      pending = agentPass(block, size, system);
      if (pending == 0) return 0;
    } while (pending < before);
    if (pass + 1 < AGENT_MAX_PASSES) wait(AGENT_PASS_DELAY_MS);
  }
  return 1;
}

#ifdef __cplusplus
}
#endif

#endif

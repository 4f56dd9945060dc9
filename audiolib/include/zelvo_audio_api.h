/* Zelvo audio library: the functions and constants the program calls, under
 * their published names. Written for this library; every call may come from
 * any thread (the library keeps its own locks) unless a comment says
 * otherwise. Handles are 32-bit; 0 means failure, and BASS_ErrorGetCode then
 * tells why the calling thread's last call failed. */
#ifndef ZELVO_AUDIO_API_H
#define ZELVO_AUDIO_API_H

#include <stdint.h>

#ifdef _WIN32
/* DWORD, BOOL and HWND as Windows has them. */
#include <windows.h>
#else
typedef uint32_t DWORD;
typedef int BOOL;
typedef void* HWND;
#endif

#ifdef _WIN32
#define ZELVO_AUDIO_CALL __stdcall
#ifdef ZELVO_AUDIO_BUILDING
#define ZELVO_AUDIO_EXPORT __declspec(dllexport)
#else
#define ZELVO_AUDIO_EXPORT __declspec(dllimport)
#endif
#else
#define ZELVO_AUDIO_CALL
#define ZELVO_AUDIO_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef uint64_t QWORD;
typedef DWORD HSTREAM;
typedef DWORD HPLUGIN;

/* Error codes (BASS_ErrorGetCode). */
#define BASS_OK 0
#define BASS_ERROR_MEM 1
#define BASS_ERROR_FILEOPEN 2
#define BASS_ERROR_DRIVER 3
#define BASS_ERROR_HANDLE 5
#define BASS_ERROR_FORMAT 6
#define BASS_ERROR_POSITION 7
#define BASS_ERROR_INIT 8
#define BASS_ERROR_START 9
#define BASS_ERROR_ALREADY 14
#define BASS_ERROR_ILLTYPE 19
#define BASS_ERROR_ILLPARAM 20
#define BASS_ERROR_DEVICE 23
#define BASS_ERROR_NOPLAY 24
#define BASS_ERROR_NOTFILE 27
#define BASS_ERROR_EMPTY 31
#define BASS_ERROR_NONET 32
#define BASS_ERROR_NOTAVAIL 37
#define BASS_ERROR_DECODE 38
#define BASS_ERROR_TIMEOUT 40
#define BASS_ERROR_FILEFORM 41
#define BASS_ERROR_VERSION 43
#define BASS_ERROR_CODEC 44
#define BASS_ERROR_ENDED 45
#define BASS_ERROR_BUSY 46
#define BASS_ERROR_UNKNOWN -1

/* Stream creation flags. */
#define BASS_STREAM_DECODE 0x200000 /* not played: samples are read with BASS_ChannelGetData */
#define BASS_UNICODE 0x80000000     /* file names are UTF-16 (otherwise the ANSI code page) */

/* BASS_ChannelIsActive. */
#define BASS_ACTIVE_STOPPED 0
#define BASS_ACTIVE_PLAYING 1
#define BASS_ACTIVE_STALLED 2
#define BASS_ACTIVE_PAUSED 3

/* Position modes. */
#define BASS_POS_BYTE 0

/* Channel attributes. */
#define BASS_ATTRIB_FREQ 1
#define BASS_ATTRIB_VOL 2

/* BASS_StreamGetFilePosition modes. */
#define BASS_FILEPOS_CURRENT 0
#define BASS_FILEPOS_DOWNLOAD 1
#define BASS_FILEPOS_END 2
#define BASS_FILEPOS_START 3
#define BASS_FILEPOS_CONNECTED 4
#define BASS_FILEPOS_BUFFER 5

/* BASS_ChannelGetData: a length with this flag asks for 128 FFT magnitudes
 * (floats) of the last 256 samples played; any other length without flags
 * reads that many bytes of sample data from a BASS_STREAM_DECODE stream. */
#define BASS_DATA_FFT256 0x80000000

/* BASS_ChannelGetTags types. */
#define BASS_TAG_ID3 0 /* the 128-byte ID3v1 block at the end of the file */
#define BASS_TAG_OGG 2 /* the stream's metadata as "key=value" texts, ending with an empty text */

typedef void(ZELVO_AUDIO_CALL DOWNLOADPROC)(const void* buffer, DWORD length, void* user);

ZELVO_AUDIO_EXPORT BOOL ZELVO_AUDIO_CALL BASS_Init(int device, DWORD freq, DWORD flags, HWND win, const void* clsid);
ZELVO_AUDIO_EXPORT BOOL ZELVO_AUDIO_CALL BASS_Free(void);
ZELVO_AUDIO_EXPORT int ZELVO_AUDIO_CALL BASS_ErrorGetCode(void);
ZELVO_AUDIO_EXPORT BOOL ZELVO_AUDIO_CALL BASS_SetVolume(float volume);
ZELVO_AUDIO_EXPORT float ZELVO_AUDIO_CALL BASS_GetVolume(void);
ZELVO_AUDIO_EXPORT HPLUGIN ZELVO_AUDIO_CALL BASS_PluginLoad(const char* file, DWORD flags);

ZELVO_AUDIO_EXPORT HSTREAM ZELVO_AUDIO_CALL BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset,
                                                                  QWORD length, DWORD flags);
ZELVO_AUDIO_EXPORT HSTREAM ZELVO_AUDIO_CALL BASS_StreamCreateURL(const char* url, DWORD offset, DWORD flags,
                                                                 DOWNLOADPROC* proc, void* user);
ZELVO_AUDIO_EXPORT BOOL ZELVO_AUDIO_CALL BASS_StreamFree(HSTREAM handle);
ZELVO_AUDIO_EXPORT QWORD ZELVO_AUDIO_CALL BASS_StreamGetFilePosition(HSTREAM handle, DWORD mode);

ZELVO_AUDIO_EXPORT BOOL ZELVO_AUDIO_CALL BASS_ChannelPlay(DWORD handle, BOOL restart);
ZELVO_AUDIO_EXPORT BOOL ZELVO_AUDIO_CALL BASS_ChannelPause(DWORD handle);
ZELVO_AUDIO_EXPORT BOOL ZELVO_AUDIO_CALL BASS_ChannelStop(DWORD handle);
ZELVO_AUDIO_EXPORT DWORD ZELVO_AUDIO_CALL BASS_ChannelIsActive(DWORD handle);
ZELVO_AUDIO_EXPORT QWORD ZELVO_AUDIO_CALL BASS_ChannelGetPosition(DWORD handle, DWORD mode);
ZELVO_AUDIO_EXPORT BOOL ZELVO_AUDIO_CALL BASS_ChannelSetPosition(DWORD handle, QWORD pos, DWORD mode);
ZELVO_AUDIO_EXPORT QWORD ZELVO_AUDIO_CALL BASS_ChannelGetLength(DWORD handle, DWORD mode);
ZELVO_AUDIO_EXPORT double ZELVO_AUDIO_CALL BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos);
ZELVO_AUDIO_EXPORT QWORD ZELVO_AUDIO_CALL BASS_ChannelSeconds2Bytes(DWORD handle, double seconds);
ZELVO_AUDIO_EXPORT const char* ZELVO_AUDIO_CALL BASS_ChannelGetTags(DWORD handle, DWORD tags);
ZELVO_AUDIO_EXPORT DWORD ZELVO_AUDIO_CALL BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length);
ZELVO_AUDIO_EXPORT BOOL ZELVO_AUDIO_CALL BASS_ChannelSetAttribute(DWORD handle, DWORD attrib, float value);
ZELVO_AUDIO_EXPORT BOOL ZELVO_AUDIO_CALL BASS_ChannelGetAttribute(DWORD handle, DWORD attrib, float* value);
ZELVO_AUDIO_EXPORT BOOL ZELVO_AUDIO_CALL BASS_ChannelSlideAttribute(DWORD handle, DWORD attrib, float value,
                                                                    DWORD time);

#ifdef __cplusplus
}
#endif

#endif /* ZELVO_AUDIO_API_H */

#!/usr/bin/env bash
# Starts or stops a single-node Slurm cluster whose files all live in one folder, for tests that need a real
# scheduler. Runs as root, without systemd.
#   slurm-cluster.sh start DIR   writes DIR/slurm.conf, starts munged (if none runs), slurmctld and slurmd, waits until
#                                the node is idle and prints the configuration's path
#   slurm-cluster.sh stop DIR    stops the daemons it started, by their PID files
set -euo pipefail

command="${1:-}"
dir="${2:-}"
if [ -z "$command" ] || [ -z "$dir" ]; then
  echo "usage: $0 start|stop DIR" >&2
  exit 2
fi
conf="$dir/slurm.conf"

stop_pid_file() {
  local file="$1"
  [ -f "$file" ] || return 0
  local pid
  pid="$(cat "$file" 2>/dev/null || true)"
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$file"
}

# A port nothing listens on, other than $1; bash alone, since a bare machine may lack python and ss.
free_port() {
  local port
  while :; do
    port=$((20000 + RANDOM % 30000))
    [ "$port" != "${1:-}" ] || continue
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || { echo "$port"; return; }
  done
}

start_munge() {
  if [ ! -f /etc/munge/munge.key ]; then
    mungekey -c >/dev/null
  fi
  chown munge:munge /etc/munge/munge.key
  chmod 400 /etc/munge/munge.key
  mkdir -p /run/munge /var/lib/munge /var/log/munge
  chown munge:munge /run/munge /var/lib/munge /var/log/munge
  if munge -n </dev/null >/dev/null 2>&1; then
    return 0
  fi
  runuser -u munge -- /usr/sbin/munged
  # Ours to stop at the end.
  cp /run/munge/munged.pid "$dir/munged.pid" 2>/dev/null || true
  for _ in $(seq 1 50); do
    munge -n </dev/null >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "munged does not answer" >&2
  return 1
}

case "$command" in
start)
  mkdir -p "$dir/state" "$dir/spool"
  host="$(hostname -s)"
  cpus="$(nproc)"
  ctld_port="$(free_port)"
  # Below the machine's memory, so that slurmd does not drain the node for having less than configured.
  memory="$(awk '/MemTotal/ { print int($2 / 1024 / 2) }' /proc/meminfo)"
  cat >"$conf" <<CONF
ClusterName=ovreltest
SlurmctldHost=$host
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
CredType=cred/munge
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
ReturnToService=2
MpiDefault=none
SwitchType=switch/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
SchedulerType=sched/builtin
SchedulerParameters=sched_interval=1
MinJobAge=3600
SlurmctldPort=$ctld_port
SlurmdPort=$(free_port "$ctld_port")
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/slurmctld.log
SlurmdLogFile=$dir/slurmd.log
NodeName=$host CPUs=$cpus RealMemory=$memory State=UNKNOWN
PartitionName=debug Nodes=ALL Default=YES MaxTime=INFINITE State=UP
CONF
  start_munge
  export SLURM_CONF="$conf"
  slurmctld -f "$conf"
  slurmd -f "$conf"
  for _ in $(seq 1 100); do
    if sinfo -h -o '%t' 2>/dev/null | grep -qx 'idle'; then
      echo "$conf"
      exit 0
    fi
    sleep 0.2
  done
  echo "the node did not come up idle: $(sinfo -h -o '%t %E' 2>&1)" >&2
  exit 1
  ;;
stop)
  stop_pid_file "$dir/slurmd.pid"
  stop_pid_file "$dir/slurmctld.pid"
  stop_pid_file "$dir/munged.pid"
  ;;
*)
  echo "usage: $0 start|stop DIR" >&2
  exit 2
  ;;
esac

# A fresh Debian 12 root (debootstrap's minbase), as a new machine has it, for checks that must
# not see what this machine already has. Sourced; must run as root.
#   make_fresh_root ROOT LOG   makes ROOT with /proc, /dev and /dev/pts mounted
#   in_root ROOT COMMAND...    runs COMMAND there with a clean environment
#   remove_fresh_root ROOT     unmounts and removes it
# CHAOSPLOT_ROOT_CACHE=FILE.tar.gz starts from that copy of a fresh root when it exists and saves
# one there when it does not.

make_fresh_root() {
    local root=$1 log=$2 start mirror
    start=$(date +%s)
    # The Debian mirror apt already uses here.
    mirror=$(grep -rhoE 'https?://[^ ]*debian/?( |$)' /etc/apt/sources.list /etc/apt/sources.list.d \
        2>/dev/null | head -n 1 | tr -d ' ' || true)
    mirror=${mirror:-http://deb.debian.org/debian}
    rm -rf "$root"
    mkdir -p "$root"
    if [ -n "${CHAOSPLOT_ROOT_CACHE:-}" ] && [ -f "$CHAOSPLOT_ROOT_CACHE" ]; then
        tar -C "$root" -xzf "$CHAOSPLOT_ROOT_CACHE"
        echo "Fresh root unpacked from $CHAOSPLOT_ROOT_CACHE in $(( $(date +%s) - start )) s"
    else
        debootstrap --variant=minbase bookworm "$root" "$mirror" >"$log"
        echo "Fresh root made by debootstrap from $mirror in $(( $(date +%s) - start )) s"
        if [ -n "${CHAOSPLOT_ROOT_CACHE:-}" ]; then tar -C "$root" -czf "$CHAOSPLOT_ROOT_CACHE" .; fi
    fi
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    mount -t proc proc "$root/proc"
    mount --bind /dev "$root/dev"
    mount --bind /dev/pts "$root/dev/pts"
}

in_root() {
    local root=$1
    shift
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

mounts_below() {
    awk -v root="$(realpath -m "$1")" 'index($2, root "/") == 1 {print $2}' /proc/mounts | sort -r
}

remove_fresh_root() {
    local root=$1 mount
    # Deepest first: a check run inside the root may have left mounts of its own below it. A
    # program of the root may still be ending and hold its terminal for a moment.
    for _ in 1 2 3 4 5; do
        while read -r mount; do
            umount "$mount" 2>/dev/null || true
        done < <(mounts_below "$root")
        [ -z "$(mounts_below "$root")" ] && break
        sleep 1
    done
    # Never remove a root with the machine's /dev still mounted in it.
    [ -z "$(mounts_below "$root")" ] || { echo "still mounted in $root: $(mounts_below "$root")"; return 1; }
    rm -rf "$root"
}
